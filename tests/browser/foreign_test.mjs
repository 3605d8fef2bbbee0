// The designer on scripts written the way other authors write them: node foreign_test.mjs DISCSCREEN DEMO_DISC
// Each case is a script, author's steps through the page and the saved
// script expected from the original (only the edited bytes differ). After
// every save the page's model must equal a fresh reading of the file, and
// `discscreen check` must find no error the original did not have.
// Prints "foreign: N passed, M failed" and exits 1 on a failure.
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import {check, runSuites, withDesigner} from './page_kit.mjs';

const [tool, demoDisc] = process.argv.slice(2);

// A script's lines joined by its own line ends, in Latin-1.
const script = (eol, lines) => Buffer.from(lines.join(eol) + eol, 'latin1');
// The original with one line (its text, without its line end) changed.
const replacing = (from, to) => (text) => {
  if (!text.includes(from)) throw new Error(`the script has no ${JSON.stringify(from)}`);
  return text.replace(from, to);
};
const both = (...changes) => (text) => changes.reduce((made, change) => change(made), text);

const HAND_TYPED = script('\r\n', [
  '[autorun]',
  'open=AUTORUN.EXE',
  'label=Demo',
  '',
  '; The screen of the D\u00e9mo disc.  Edit with care!',
  '[begin]',
  'title = D\u00e9mo \u00c9t\u00e9 - Disque',
  'introbitmap=back.bmp',
  'font1=Tahoma,15,bold',
  '  font2 = Tahoma,13',
  '',
  '[text]',
  '; captions',
  'text1=Read me first,6,7, ,1',
  'text2 = Licence terms, 06 , 7 , , 1',
  'text11=Everything about the disc.,7,HELP, ,2,+345,190,240,190',
  '',
  '[button]',
  'button1 = pushbutton, 40, 146, 0, 0, focus, show, push1.bmp, 1, , hover.wav, README.TXT',
  'button2=pushbutton,040,192,0,0,normal,show,push2.bmp,2, ,hover.wav,LICENSE.TXT',
  'button8=exitbutton,500,408,0,0,normal,no,exit.bmp',
  '[extratext]',
  'button1=11',
  '[end]',
  'Notes after the end: never read = ever',
]);

const TABBED = script('\n', [
  '[BEGIN]\t// the settings',
  'Title=Sample Fonts Setup',
  'IntroBitmap\t=\tBACK.BMP',
  'Font1=Arial,14,Bold',
  'RunMultiple=no',
  '',
  '[Text] [GER]',
  'Text1\t=\tSchriften installieren,6,7, ,1',
  '[Text]',
  'Text1\t=\tInstall the fonts,6,7, ,1',
  'Text3=Quit,\t6,\t7,\t ,\t1',
  '[Button]',
  'Button1\t=\tPushButton,\t40,\t146,\t0,\t0,\tNormal,\tShow,\tPUSH1.BMP,\t1,\t ,\t ,\tREADME.TXT',
  '[Text]',
  'Text2=Installs the sample fonts.,7,15, ,1,345,190,240,60',
  '[Button] [WIN95]',
  'Button9=ExitButton,500,300,0,0,Normal,No,EXIT.BMP,3',
  '[Button]',
  'Button8=ExitButton,500,408,0,0,Normal,No,EXIT.BMP,3',
  '[ExtraText]',
  'Button1=2',
  '[End]',
]);

const NUMBERS = script('\r\n', [
  '; made by hand, keys nobody reads kept',
  '[BEGIN]',
  'VERSION=3.1',
  'TITLE=Tools Disc',
  'INTROSOUND=INTRO.WAV, 2',
  'INTROBITMAP=BACK.BMP',
  'FONT01=Tahoma,13',
  '[TEXT]',
  'TEXT01=Tools,+6,+7, ,01',
  'TEXT02=Extras,6,7, ,1, , ,0,0,the tenth field is not read',
  'TEXT03=Install,6,7, ,01',
  '[BUTTON]',
  'BUTTON01=CHECKBOX,+47,+300,0,0,CHECK,YES,CHECK1.BMP,01, ,HOVER.WAV,EXTRAS\\DEMOSETUP.EXE Tools',
  'BUTTON02=CHECKBOX,47,0332,0,0,UNCHECK,YES,CHECK2.BMP,2',
  'COLOR=7',
  'BUTTON07=OKBUTTON,40,408,0,0,NORMAL,NO,INSTALL.BMP,3',
  '[MESSAGE]',
  'BUTTON01=The tools could not be installed.',
  '[END]',
]);

// Sections in an odd order: [TEXT] split around [BUTTON], the buttons'
// own sections before the last texts, a button's numbers out of order.
const ODD_ORDER = script('\r\n', [
  '[Begin]',
  'IntroBitmap=BACK.BMP',
  'Font2=Tahoma,13',
  'Title=Odd Order',
  '[Begin] [GER]',
  'Title=Seltsame Ordnung',
  '[Text]',
  'Text5=Second,6,7, ,2',
  'Text4=First,6,7, ,2',
  '',
  '\t',
  '[Button]',
  'Button5=PushButton,40,192,0,0,Normal,Show,PUSH2.BMP,5, ,HOVER.WAV,LICENSE.TXT',
  'Button2=PushButton,40,146,0,0,Focus,Show,PUSH1.BMP,4, ,HOVER.WAV,README.TXT',
  '[Message]',
  'Button5=The licence could not be opened.',
  '[InstallMessage]',
  'Button5=Opening the licence...',
  'Button2=Opening the introduction...',
  '[Text]',
  'Text9=Leaves,6,7, ,2',
  '[Button]',
  'Button9=ExitButton,500,408,0,0,Normal,No,EXIT.BMP,9',
  '[End]',
]);

// Line ends mixed as editors on two systems leave them, the language's
// own texts before the untagged ones, Windows sections.
const MIXED_ENDS = Buffer.from([
  '[BEGIN]\r\n', 'TITLE=Mixed\r\n', 'INTROBITMAP=BACK.BMP\n', 'FONT1=Tahoma,15,BOLD\r\n',
  '[TEXT] [GER]   // German first: the first text of a number counts\n', 'TEXT1=Weiter,6,7, ,1\r\n',
  '[TEXT]\r\n', 'TEXT1=Go on,6,7, ,1\n', 'TEXT2=Stop,6,7, ,1\r\n',
  '[BUTTON] [WIN95] [WIN98]\r\n', 'BUTTON3=PUSHBUTTON,40,300,0,0,NORMAL,SHOW,PUSH3.BMP, , ,HOVER.WAV,README.TXT\r\n',
  '[BUTTON]\n', 'BUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,PUSH1.BMP,1, ,HOVER.WAV,README.TXT\r\n',
  'BUTTON2=EXITBUTTON,500,408,0,0,NORMAL,NO,EXIT.BMP,2\n',
  '[END]\r\n',
].join(''), 'latin1');

// Comments after the headers' names (the reader reads only the tags
// there), a tag in lower case, and a later entry for a button's number,
// which replaces the earlier, and for a text's, which the earlier wins over.
const COMMENTED_HEADERS = script('\r\n', [
  '[Begin] ; the screen\'s settings',
  'Title=Commented',
  'IntroBitmap=BACK.BMP',
  'Font1=Tahoma,15,BOLD',
  '[Text] [ger] ; German captions first',
  'Text1=Weiter,6,7, ,1',
  'Text5=Hinweis,6,7, ,1,200,60,0,0',
  '[Text] captions',
  'Text1=Go on,6,7, ,1',
  'Text2=Stop,6,7, ,1',
  'Text4=A note,6,7, ,1,200,30,0,0',
  'Text4=Never shown,6,7, ,1,200,30,0,0',
  'Text5=Note,6,7, ,1,200,60,0,0',
  '[Button] // every button',
  'Button1=PushButton,40,146,0,0,Focus,Show,PUSH1.BMP,1, ,HOVER.WAV,README.TXT',
  'Button3=PushButton,40,238,0,0,Normal,Show,PUSH3.BMP, , ,HOVER.WAV,README.TXT',
  'Button2=ExitButton,500,408,0,0,Normal,No,EXIT.BMP,2',
  'Button3=PushButton,40,192,0,0,Normal,Show,PUSH2.BMP, , ,HOVER.WAV,LICENSE.TXT',
  '[End]',
]);

// Blanks between a key's name and its number, an [autorun] section after
// [END], a [Message] section for a button of a later [Button] section.
const SPACED_KEYS = script('\r\n', [
  '[BEGIN]',
  'TITLE = Spaced',
  'INTROBITMAP = BACK.BMP',
  'FONT 1 = Tahoma, 15, BOLD',
  '[TEXT]',
  'TEXT 1 = Start, 6, 7, , 1',
  'TEXT 2 = Leave, 6, 7, , 1',
  '[BUTTON]',
  'BUTTON 1 = PUSHBUTTON, 40, 146, 0, 0, FOCUS, SHOW, PUSH1.BMP, 1, , HOVER.WAV, README.TXT',
  '[MESSAGE]',
  'BUTTON 1 = The introduction could not be opened.',
  '[BUTTON]',
  'BUTTON 8 = EXITBUTTON, 500, 408, 0, 0, NORMAL, NO, EXIT.BMP, 2',
  '[END]',
  '',
  '[autorun]',
  'open=AUTORUN.EXE',
]);

// --- Steps through the page ------------------------------------------------

const idle = (page) => page.waitForFunction(() => document.body.dataset.pending === '0');
const inField = (name, inner) => `#panel [data-field-name="${name}"] ${inner}`;

async function act(page, what) {
  await what();
  await idle(page);
}
const click = (selector) => (page) => act(page, () => page.click(selector));
const choose = (selector, value) => (page) => act(page, () => page.select(selector, value));
const pick = (key) => click(`#entries li[data-key="${key}"]`);

// Drags an item and waits until the page has read the move back.
const drag = (key, dx, dy) => (page) => act(page, async () => {
  const was = await page.evaluate((k) => placeOf(k), key);
  const box = await (await page.$(`[data-entry="${key}"]`)).boundingBox();
  const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx / 2, y + dy / 2, {steps: 3});
  await page.mouse.move(x + dx, y + dy, {steps: 3});
  await page.mouse.up();
  await page.waitForFunction((k, left, top) => {
    const place = placeOf(k);
    return place && place.x === left && place.y === top;
  }, {}, key, was.x + dx, was.y + dy);
});

// Types into an input of the panel and leaves it.
const type = (selector, text) => (page) => act(page, async () => {
  const input = await page.$(selector);
  await input.click({clickCount: 3});
  await input.type(text);
  await page.keyboard.press('Tab');
});

const deleteIt = (key) => async (page) => {
  await pick(key)(page);
  await click('[data-action="delete"]')(page);
};

const addGermanText = async (page) => {
  await choose('[data-action="lang"]', 'de')(page);
  await choose('#new-for', 'language')(page);
  await click('[data-action="add-text"]')(page);
};

// --- The cases ------------------------------------------------------------

const CASES = [
  {name: 'hand-typed lower case: a drag moves the button\'s x and y only', script: HAND_TYPED,
   steps: [drag('BUTTON2', 20, 10)],
   expect: replacing('button2=pushbutton,040,192,', 'button2=pushbutton,60,202,')},
  {name: 'tabs and LF: a German text goes into the [Text] [GER] there', script: TABBED,
   steps: [addGermanText],
   expect: replacing('Text1\t=\tSchriften installieren,6,7, ,1\n',
                     'Text1\t=\tSchriften installieren,6,7, ,1\nTEXT4=New text,0,7, , ,20,20,0,0\n')},
  {name: 'plus signs and leading zeros: a drag along y keeps the signed x', script: NUMBERS,
   steps: [drag('BUTTON1', 0, 8)],
   expect: replacing('BUTTON01=CHECKBOX,+47,+300,', 'BUTTON01=CHECKBOX,+47,308,')},
  {name: 'odd order: a new button goes after the last [Button]', script: ODD_ORDER,
   steps: [pick('BUTTON9'), click('[data-action="add-button"]')],
   expect: both(replacing('Text9=Leaves,6,7, ,2\r\n', 'Text9=Leaves,6,7, ,2\r\nTEXT1=Button 1,6,7, ,2, , ,0,0\r\n'),
                replacing('Button9=ExitButton,500,408,0,0,Normal,No,EXIT.BMP,9\r\n',
                          'Button9=ExitButton,500,408,0,0,Normal,No,EXIT.BMP,9\r\nBUTTON1=PUSHBUTTON,500,448,0,0,NORMAL,NO,EXIT.BMP,1\r\n'))},
  {name: 'mixed line ends: a drag keeps each line\'s end', script: MIXED_ENDS,
   steps: [drag('BUTTON2', -30, 0)],
   expect: replacing('BUTTON2=EXITBUTTON,500,408,', 'BUTTON2=EXITBUTTON,470,408,')},
  {name: 'commented headers: a font from a text\'s pick goes into [Begin]', script: COMMENTED_HEADERS,
   steps: [pick('TEXT2'), choose(inField('font', 'select'), 'add')],
   expect: both(replacing('Font1=Tahoma,15,BOLD\r\n', 'Font1=Tahoma,15,BOLD\r\nFONT2=Tahoma,14\r\n'),
                replacing('Text2=Stop,6,7, ,1', 'Text2=Stop,6,7, ,2'))},
  {name: 'commented headers: a German text', script: COMMENTED_HEADERS, steps: [addGermanText],
   expect: replacing('Text5=Hinweis,6,7, ,1,200,60,0,0\r\n', 'Text5=Hinweis,6,7, ,1,200,60,0,0\r\nTEXT3=New text,0,7, , ,20,20,0,0\r\n')},
  {name: 'a button given twice: deleting it deletes both entries', script: COMMENTED_HEADERS,
   steps: [deleteIt('BUTTON3')], page: () => !document.querySelector('[data-entry="BUTTON3"]'),
   expect: both(replacing('Button3=PushButton,40,238,0,0,Normal,Show,PUSH3.BMP, , ,HOVER.WAV,README.TXT\r\n', ''),
                replacing('Button3=PushButton,40,192,0,0,Normal,Show,PUSH2.BMP, , ,HOVER.WAV,LICENSE.TXT\r\n', ''))},
  {name: 'a text given twice: deleting it deletes both entries', script: COMMENTED_HEADERS,
   steps: [deleteIt('TEXT4')], page: () => !document.querySelector('[data-entry="TEXT4"]'),
   expect: both(replacing('Text4=A note,6,7, ,1,200,30,0,0\r\n', ''), replacing('Text4=Never shown,6,7, ,1,200,30,0,0\r\n', ''))},
  {name: 'a button given twice: renumbering it renumbers both entries', script: COMMENTED_HEADERS,
   steps: [pick('BUTTON3'), type('#panel input[data-field="number"]', '7')],
   page: () => !document.querySelector('[data-entry="BUTTON3"]') && Boolean(document.querySelector('[data-entry="BUTTON7"]')),
   expect: both(replacing('Button3=PushButton,40,238,', 'Button7=PushButton,40,238,'),
                replacing('Button3=PushButton,40,192,', 'Button7=PushButton,40,192,'))},
  {name: 'a text deleted on English systems keeps its German entry', script: COMMENTED_HEADERS,
   steps: [deleteIt('TEXT5')], page: () => !document.querySelector('[data-entry="TEXT5"]'),
   expect: replacing('Text5=Note,6,7, ,1,200,60,0,0\r\n', '')},
  {name: 'spaced keys: a drag along x leaves y as written', script: SPACED_KEYS, steps: [drag('BUTTON8', -100, 0)],
   expect: replacing('BUTTON 8 = EXITBUTTON, 500, 408,', 'BUTTON 8 = EXITBUTTON,400, 408,')},
  {name: 'spaced keys: renumbering a button takes its message along', script: SPACED_KEYS,
   steps: [pick('BUTTON1'), type('#panel input[data-field="number"]', '3')],
   expect: both(replacing('BUTTON 1 = PUSHBUTTON', 'BUTTON 3 = PUSHBUTTON'), replacing('BUTTON 1 = The', 'BUTTON 3 = The'))},
  {name: 'spaced keys: deleting a button takes its message along', script: SPACED_KEYS, steps: [deleteIt('BUTTON1')],
   expect: both(replacing('BUTTON 1 = PUSHBUTTON, 40, 146, 0, 0, FOCUS, SHOW, PUSH1.BMP, 1, , HOVER.WAV, README.TXT\r\n', ''),
                replacing('[MESSAGE]\r\nBUTTON 1 = The introduction could not be opened.\r\n', '[MESSAGE]\r\n'))},
  {name: 'a Latin-1 title typed with accents', script: HAND_TYPED,
   steps: [click('[data-action="settings"]'), type('#panel [data-section="[BEGIN]"] input', '\u00c9t\u00e9 \u00e0 la plage')],
   expect: replacing('title = D\u00e9mo \u00c9t\u00e9 - Disque', 'title =\u00c9t\u00e9 \u00e0 la plage')},
];

const errorsOf = (folder) => {
  const result = spawnSync(tool, ['check', folder], {encoding: 'utf8'});
  // Without the place: an edit above moves the lines below it.
  return (result.stdout + result.stderr).split('\n').filter((line) => /: error:/.test(line))
      .map((line) => line.replace(/^.*?: error:/, 'error:'));
};

// The page's model without what differs between two readings of one text.
const comparable = (model) => {
  const {version, stale, ...rest} = model;
  return JSON.stringify(rest);
};

async function runCase(browser, c) {
  await withDesigner(browser, tool, demoDisc, c.script, async (page, folder) => {
    await page.setViewport({width: 1400, height: 900});
    const errorsBefore = errorsOf(folder);
    for (const step of c.steps) await step(page);
    if (c.page) check(`${c.name}: the page shows it`, await page.evaluate(c.page));
    await page.click('[data-action="save"]');
    await page.waitForFunction(() => document.querySelector('#status').textContent === 'saved' ||
                                     document.body.dataset.status === 'problem');
    const status = await page.$eval('#status', (element) => element.textContent);
    check(`${c.name}: saved`, status === 'saved', status);
    const saved = fs.readFileSync(`${folder}/AUTORUN.INF`).toString('latin1');
    const expected = c.expect(c.script.toString('latin1'));
    check(`${c.name}: only the edited bytes change`, saved === expected,
          `\n  saved:    ${JSON.stringify(saved)}\n  expected: ${JSON.stringify(expected)}`);
    const [mine, fresh] = await page.evaluate(async () => [state.model,
      await post('/api/reload', {lang: state.lang, windows: state.windows})]);
    check(`${c.name}: the page's model is a fresh reading's`, comparable(mine) === comparable(fresh));
    const errorsAfter = errorsOf(folder).filter((line) => !errorsBefore.includes(line));
    check(`${c.name}: check finds no new error`, errorsAfter.length === 0, errorsAfter.join(' | '));
  });
}

// The program under Wine (the page's Preview) shows the saved hand-typed
// script as the page draws it, after a drag.
async function wineAgrees(browser) {
  if (process.env.DESIGNER_NO_WINE === '1') return;
  await withDesigner(browser, tool, demoDisc, HAND_TYPED, async (page) => {
    await page.setViewport({width: 1400, height: 900});
    await drag('BUTTON2', 20, 10)(page);
    // The pointer leaves the button, which the program draws at rest.
    await page.mouse.move(1, 1);
    await page.waitForFunction(() => state.hovered === null);
    await page.click('[data-action="save"]');
    await page.waitForFunction(() => /^(saved)$/.test(document.querySelector('#status').textContent) ||
                                     document.body.dataset.status === 'problem');
    await page.click('[data-action="preview"]');
    await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                     document.body.dataset.status === 'problem', {timeout: 600000});
    const status = await page.$eval('#status', (element) => element.textContent);
    check('hand-typed under Wine: previewed', status === 'previewed', status);
    const {difference, insideTexts} = await page.$eval('#truth', (figure) => ({...figure.dataset}));
    check('hand-typed under Wine: the pixels outside texts agree', Number(difference) < 0.01, difference);
    check('hand-typed under Wine: the pixels inside texts agree', Number(insideTexts) < 0.05, insideTexts);
    console.log(`foreign: under Wine ${(difference * 100).toFixed(2)}% of the pixels outside texts and ` +
                `${(insideTexts * 100).toFixed(2)}% inside them differ from the page's`);
  });
}

async function foreignScripts(browser) {
  const only = process.env.FOREIGN_ONLY;
  for (const c of CASES) {
    if (only && !c.name.includes(only)) continue;
    try {
      await runCase(browser, c);
    } catch (error) {
      check(c.name, false, error.message);
    }
  }
}

await runSuites('foreign', [foreignScripts, wineAgrees]);
