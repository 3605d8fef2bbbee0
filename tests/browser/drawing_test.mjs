// The page draws texts as the program under Wine does: node drawing_test.mjs DISCSCREEN DEMO_DISC
// Prints "drawing: N passed, M failed" and exits 1 on a failure. DESIGNER_NO_WINE=1
// leaves out the comparison with the program under Wine.
import fs from 'node:fs';
import path from 'node:path';
import {check, runSuites, withDesigner as designerOn} from './page_kit.mjs';

const [tool, demoDisc] = process.argv.slice(2);
const withDesigner = (browser, script, work) => designerOn(browser, tool, demoDisc, script, work);

// Sizes and widths as Wine 8 gives them (GetTextExtentPoint32 of "Sample
// Fonts" in the font the program makes): every face is DejaVu Sans there.
const FONT_CASES = [
  {font: 'Tahoma,15', width: 88, height: 15},
  {font: 'Tahoma,15,BOLD', width: 100, height: 15},
  {font: 'Arial,13', width: 76, height: 13},
  {font: 'MS Sans Serif,13,BOLD', width: 85, height: 13},
  {font: 'Tahoma', width: 76, height: 13},
  {font: null, width: 100, height: 16},  // no font: the system font
];

async function textSizesAreWines(browser) {
  const fonts = FONT_CASES.map((c, i) => (c.font ? `FONT${i + 1}=${c.font}` : '')).join('\n');
  const texts = FONT_CASES.map((c, i) => `TEXT${i + 1}=Sample Fonts,7,7, ,${c.font ? i + 1 : ' '},10,${10 + 30 * i}`).join('\n');
  const buttons = FONT_CASES.map((c, i) => `BUTTON${i + 1}=PUSHBUTTON,300,${10 + 30 * i},0,0,NORMAL,NO,PUSH1.BMP,${i + 1}`).join('\n');
  const script = `[BEGIN]\nTITLE=t\nINTROBITMAP=BACK.BMP\n${fonts}\n[TEXT]\n${texts}\n[BUTTON]\n${buttons}\n[END]\n`;
  const sizes = await withDesigner(browser, script, (page) => page.evaluate(async () => {
    const inked = async (text) => {
      const picture = await loadImage(textPictureUrl(text, 7));
      const context = new OffscreenCanvas(picture.width, picture.height).getContext('2d');
      context.drawImage(picture, 0, 0);
      const alpha = context.getImageData(0, 0, picture.width, picture.height).data;
      let right = 0;
      for (let at = 3; at < alpha.length; at += 4) if (alpha[at]) right = Math.max(right, ((at - 3) / 4) % picture.width + 1);
      return right;
    };
    return Promise.all(state.model.texts.map(async (t) => ({width: t.width, height: t.height, inked: await inked(t)})));
  }));
  FONT_CASES.forEach((c, i) => {
    const size = sizes[i];
    check(`FONT=${c.font} measures as under Wine`, size && size.width === c.width && size.height === c.height,
          JSON.stringify(size));
    check(`FONT=${c.font} inks its text to near its width`, size && size.inked > c.width - 4 && size.inked <= c.width,
          JSON.stringify(size));
  });
}

// What lies behind a text: a caption on its button's picture gets the
// background picture restored under it; a highlighted one with a highlight
// background gets the fill; a HELP text not highlighted leaves the picture.
const BACKGROUND_CASES = [
  {name: 'a normal caption restores the background', text: '7,7, ,1', highlighted: false, behind: 'background'},
  {name: 'a highlighted caption fills its background', text: '7,7,4,1', highlighted: true, behind: '#ff0000'},
  {name: 'a HELP text at rest leaves the button', text: '7,HELP, ,1', highlighted: false, behind: 'button'},
];

async function captionBackgrounds(browser) {
  for (const c of BACKGROUND_CASES) {
    const buttonState = c.highlighted ? 'FOCUS' : 'NORMAL';
    const script = `[BEGIN]\nTITLE=t\nINTROBITMAP=BACK.BMP\nFONT1=Tahoma,13\n[TEXT]\nTEXT1=x,${c.text},52,158,4,4\n` +
                   `[BUTTON]\nBUTTON1=PUSHBUTTON,40,146,0,0,${buttonState},NO,PUSH1.BMP,1\n[END]\n`;
    const got = await withDesigner(browser, script, (page) => page.evaluate(async () => {
      const hex = (data) => '#' + [...data.slice(0, 3)].map((v) => v.toString(16).padStart(2, '0')).join('');
      const sample = async (image, x, y) => {
        const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
        context.drawImage(image, 0, 0);
        return hex(context.getImageData(x, y, 1, 1).data);
      };
      const {pixels} = await programDrawing(state.model.width, state.model.height);
      const button = state.model.buttons[0];
      return {drawn: hex(pixels.slice((160 * state.model.width + 54) * 4)),
              background: await sample(await loadImage(pictureUrl(state.model.background)), 54, 160),
              button: await sample(await loadImage(pictureUrl(button.picture)), frameOf(button, button.state === 1) * button.width + 14, 14)};
    }));
    const expected = c.behind.startsWith('#') ? c.behind : got[c.behind];
    check(c.name, got.drawn === expected, `${got.drawn}, expected ${expected}`);
  }
}

// A height of billions is drawn at the largest size instead of exhausting the server.
async function hugeFontIsDrawn(browser) {
  const script = '[BEGIN]\nTITLE=t\nFONT1=Tahoma,2000000000\n[TEXT]\nTEXT1=Ab,7,7, ,1,10,10,200,50\n' +
                 '[BUTTON]\nBUTTON1=PUSHBUTTON,300,10,0,0,NORMAL,NO,PUSH1.BMP,1\n[END]\n';
  const status = await withDesigner(browser, script, (page) => page.evaluate(
      async () => (await fetch(textPictureUrl(state.model.texts[0], 7))).status));
  check('a font billions of pixels high is drawn', status === 200, String(status));
}

// Screens under Wine against the page's drawing: the demo disc, and one with
// dark words wrapped and cut on a highlight fill, an '&' prefix, a caption in
// the system font and one in an italic underlined font.
const WINE_CASES = [
  {name: 'the demo disc', script: null},
  {name: 'fills, wrapping, prefixes and the system font', script: `[BEGIN]
TITLE=Drawing check
INTROBITMAP=BACK.BMP
FONT1=Arial,14
FONT2=Tahoma,13,ITALIC,UNDERLINE
[TEXT]
TEXT1=Dark words on a white fill that wrap and are cut at the bottom edge,0,7,7,1,90,146,110,40
TEXT2=Save && &Quit in the system font,7,15, , ,90,240,220,40
TEXT3=Italic and underlined,7,6, ,2,90,300,200,20
[BUTTON]
BUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,NO,PUSH1.BMP,1
BUTTON2=PUSHBUTTON,40,240,0,0,NORMAL,NO,PUSH2.BMP,2
BUTTON3=PUSHBUTTON,40,300,0,0,NORMAL,NO,PUSH3.BMP,3
[END]
`},
];
// The same screens on displays the program draws twice as large.
WINE_CASES.push(...WINE_CASES.map((c) => ({...c, name: `${c.name} at 200 %`, dpi: '192'})));

// The display's scale: later Windows draws the screen a whole number of
// times larger, older ones as it is at any DPI.
const DISPLAY_CASES = [
  {windows: 'later', dpi: '120', scale: 1},
  {windows: 'later', dpi: '144', scale: 2},
  {windows: 'later', dpi: '288', scale: 3},
  {windows: 'xp', dpi: '192', scale: 1},
  {windows: '95', dpi: '288', scale: 1},
];

const chooseDisplay = async (page, windows, dpi) => {
  for (const [action, value] of [['windows', windows], ['dpi', dpi]]) {
    await page.select(`[data-action="${action}"]`, value);
    await page.waitForFunction(() => document.body.dataset.pending === '0');
  }
};

async function displayScales(browser) {
  for (const c of DISPLAY_CASES) {
    const shown = await withDesigner(browser, null, async (page) => {
      await chooseDisplay(page, c.windows, c.dpi);
      return page.evaluate(() => ({scale: state.model.scale, width: document.querySelector('#screen').getBoundingClientRect().width,
                                   model: state.model.width}));
    });
    check(`${c.windows} at ${c.dpi} DPI draws the screen ${c.scale} times larger`,
          shown.scale === c.scale && shown.width === shown.model * c.scale, JSON.stringify(shown));
  }
}

async function screensAgainstWine(browser) {
  for (const c of WINE_CASES) {
    const shares = await withDesigner(browser, c.script, async (page) => {
      if (c.dpi) await chooseDisplay(page, 'later', c.dpi);
      await page.click('[data-action="preview"]');
      await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                       document.body.dataset.status === 'problem', {timeout: 600000});
      return page.$eval('#truth', (figure) => ({outside: Number(figure.dataset.difference),
                                                inside: Number(figure.dataset.insideTexts)}));
    });
    console.log(`drawing: ${c.name} under Wine differs in ${(shares.outside * 100).toFixed(2)}% of the pixels ` +
                `outside texts and ${(shares.inside * 100).toFixed(2)}% inside their rectangles`);
    check(`${c.name} under Wine: outside texts within 1%`, shares.outside < 0.01, String(shares.outside));
    check(`${c.name} under Wine: inside texts within 5%`, shares.inside < 0.05, String(shares.inside));
  }
}

await runSuites('drawing', [textSizesAreWines, captionBackgrounds, hugeFontIsDrawn, displayScales,
                            ...(process.env.DESIGNER_NO_WINE ? [] : [screensAgainstWine])]);
