// A disc author's whole story in the designer page alone, from an empty
// script to a screen with a background, captioned buttons, two check boxes
// chained to an install button, an install message and German texts; then
// `discscreen check` and the program under Wine:
//   node story_test.mjs DISCSCREEN
// Prints "story: N passed, M failed" and exits 1 on a failure. DESIGNER_NO_WINE=1
// leaves out the comparison with the program under Wine.
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {BOUND, check, runSuites, withDesigner} from './page_kit.mjs';

const [tool] = process.argv.slice(2);

// --- The author's files ---------------------------------------------------

// installer PATH NAME: a small silent installer, as makensis makes one.
function installer(file, name) {
  const script = path.join(path.dirname(file), `${name}.nsi`);
  fs.writeFileSync(script, ['Unicode true', `Name "${name}"`, `OutFile "${file}"`, 'RequestExecutionLevel user',
                            'SilentInstall silent', 'Section', 'SectionEnd', ''].join('\n'));
  execFileSync('makensis', ['-V1', script]);
  fs.rmSync(script);
}

// The disc with an empty script, two installers and a read-me; beside it the
// author's pictures: a photo-like background and the buttons' strips made
// from one picture each by `discscreen picture --make-states`.
function authorsFiles() {
  const desk = fs.mkdtempSync(path.join(os.tmpdir(), 'story-'));
  const disc = path.join(desk, 'disc');
  fs.mkdirSync(disc);
  fs.writeFileSync(path.join(disc, 'AUTORUN.INF'), '');
  installer(path.join(disc, 'EDITOR.EXE'), 'Editor');
  installer(path.join(disc, 'VIEWER.EXE'), 'Viewer');
  fs.writeFileSync(path.join(disc, 'README.TXT'), 'Read me first.\r\n');
  const convert = (...args) => execFileSync('convert', args);
  convert('-size', '640x480', 'gradient:#203060-#101828', path.join(desk, 'Back.png'));
  convert('-size', '120x28', 'xc:#203060', '-fill', '#4070b0', '-draw', 'roundrectangle 1,1 118,26 6,6', path.join(desk, 'push.png'));
  convert('-size', '22x22', 'xc:#203060', '-fill', 'white', '-draw', 'rectangle 3,3 18,18', path.join(desk, 'box.png'));
  for (const [from, to] of [['push.png', 'PUSH.BMP'], ['box.png', 'BOX.BMP']]) {
    execFileSync(tool, ['picture', path.join(desk, from), '--make-states', '-o', path.join(desk, to)]);
  }
  return {desk, disc};
}

// --- Author actions, each through the page --------------------------------

const idle = (page) => page.waitForFunction(() => document.body.dataset.pending === '0');
const mainField = (name, inner) => `#panel > .entry [data-field-name="${name}"] ${inner}`;

const click = (selector) => async (page) => { await page.click(selector); await idle(page); };
const choose = (selector, value) => async (page) => { await page.select(selector, value); await idle(page); };
const pick = (key) => click(`#entries li[data-key="${key}"]`);
const kind = (word) => choose(mainField('kind', 'select'), word);
const option = (name, word) => choose(mainField(name, 'select'), word);
const discFile = (name, file) => choose(mainField(name, 'select.file-pick'), file);

const key = (name, modifier) => async (page) => {
  if (modifier) await page.keyboard.down(modifier);
  await page.keyboard.press(name);
  if (modifier) await page.keyboard.up(modifier);
  await idle(page);
};

// Types into a field of the panel as an author does: select all, type, Tab.
const type = (selector, text) => async (page) => {
  const field = await page.waitForSelector(selector);
  await field.click({clickCount: 3});
  await page.keyboard.type(text);
  await page.keyboard.press('Tab');
  await idle(page);
};
// The field of the entry the panel heads "[SECTION] KEY" (a button's own
// sections and the screen settings show several entries at once).
const entryField = (heading, name) =>
  `::-p-xpath(//div[@id="panel"]//div[contains(@class,"entry")][h3="${heading}"]//div[@data-field-name="${name}"]//input)`;
// The box of a chain member in a list of button numbers.
const entryBox = (heading, number) =>
  `::-p-xpath(//div[@id="panel"]//div[contains(@class,"entry")][h3="${heading}"]//input[@data-button="${number}"])`;
const typeField = (name, text) => type(mainField(name, 'input'), text);

// A file from the author's desk dropped on the screen or on one of its items.
const drop = (file, on) => async (page) => {
  const bytes = fs.readFileSync(file).toString('base64');
  await page.evaluate((data, name, selector) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], name));
    document.querySelector(selector).dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
  }, bytes, path.basename(file), on);
};

// A button added beside the picked one, picked, with its caption typed and
// its place given.
const newButton = (number, caption, x, y) => [
  click('[data-action="add-button"]'), pick(`BUTTON${number}`), typeField('x', String(x)), typeField('y', String(y)),
  pick(`TEXT${number}`), typeField('text', caption), pick(`BUTTON${number}`)];

// --- What holds, read in the page -------------------------------------------

const button = (model, number) => model.buttons.find((b) => b.number === number);
const text = (model, number) => model.texts.find((t) => t.number === number);
const kinds = {PUSHBUTTON: 0, EXITBUTTON: 1, OKBUTTON: 2, CHECKBOX: 3};

// The story, one author step a row: what is done in the page, and what the
// page's reading of the edited script then holds (a test run in the page,
// given the model and the row's `with`).
const STORY = (desk) => [
  {step: 'the background picture is dropped on the screen', act: [drop(path.join(desk, 'Back.png'), '#screen')],
   holds: (model) => model.background === 'BACK.BMP' && model.width === 640 && model.height === 480},
  {step: 'the title is given in the screen settings',
   act: [click('[data-action="settings"]'), click('[data-add-key="TITLE"]'), type(entryField('[BEGIN] TITLE', 'value'), 'Acme Suite')],
   holds: (model) => model.entries.some((e) => e.used && e.name === 'TITLE' && e.value === 'Acme Suite')},
  {step: 'a first button comes with its caption',
   act: [click('[data-action="add-button"]'), pick('BUTTON1')],
   holds: (model) => button(model, 1) && button(model, 1).caption === 1 && text(model, 1)},
  {step: 'the button\'s picture strip is dropped on it', act: [drop(path.join(desk, 'BOX.BMP'), '[data-entry="BUTTON1"]')],
   holds: (model) => button(model, 1).picture === 'BOX.BMP' && button(model, 1).width === 22},
  {step: 'it becomes a check box that waits for the editor\'s installer',
   act: [kind('CHECKBOX'), option('state', 'CHECK'), option('option', 'YES'), discFile('command', 'EDITOR.EXE'),
         typeField('x', '60'), typeField('y', '150')],
   holds: (model) => button(model, 1).kind === kinds.CHECKBOX && button(model, 1).state === 1 &&
                     button(model, 1).x === 60 && button(model, 1).y === 150},
  {step: 'its caption is typed', act: [pick('TEXT1'), typeField('text', 'Acme Editor'), pick('BUTTON1')],
   holds: (model) => text(model, 1).text === 'Acme Editor'},
  {step: 'a second check box, with the first one\'s picture, for the viewer',
   act: [...newButton(2, 'Acme Viewer', 60, 190), kind('CHECKBOX'), option('option', 'YES'), discFile('command', 'VIEWER.EXE')],
   holds: (model) => button(model, 2).kind === kinds.CHECKBOX && button(model, 2).picture === 'BOX.BMP' &&
                     text(model, 2).text === 'Acme Viewer' && button(model, 2).y === 190 &&
                     document.querySelector('#panel > .entry [data-field-name="state"] select').value === 'UNCHECK'},
  {step: 'an install button is added and its own strip dropped on it',
   act: [...newButton(3, 'Install', 60, 260), drop(path.join(desk, 'PUSH.BMP'), '[data-entry="BUTTON3"]')],
   holds: (model) => button(model, 3).picture === 'PUSH.BMP' && text(model, 3).text === 'Install'},
  {step: 'it runs the checked boxes\' chain and takes the focus',
   act: [kind('OKBUTTON'), option('state', 'FOCUS'), option('option', 'YES')],
   holds: (model) => button(model, 3).kind === kinds.OKBUTTON && button(model, 3).state === 1},
  {step: 'an install message is shown while the editor\'s installer starts',
   act: [pick('BUTTON1'), click('[data-add-section="[INSTALLMESSAGE]"]'),
         type(entryField('[INSTALLMESSAGE] BUTTON1', 'value'), 'Installing the editor...')],
   holds: (model) => model.entries.some((e) => e.used && e.section === '[INSTALLMESSAGE]' && e.number === 1 &&
                                               e.value === 'Installing the editor...')},
  {step: 'a read-me button opens the read-me',
   act: [pick('BUTTON3'), ...newButton(4, 'Read me', 60, 310), discFile('command', 'README.TXT')],
   holds: (model) => button(model, 4).kind === kinds.PUSHBUTTON && button(model, 4).picture === 'PUSH.BMP' &&
                     model.entries.some((e) => e.used && e.name === 'BUTTON' && e.number === 4 && /README\.TXT$/.test(e.value))},
  {step: 'an exit button closes the screen',
   act: [...newButton(5, 'Exit', 60, 360), kind('EXITBUTTON')],
   holds: (model) => button(model, 5).kind === kinds.EXITBUTTON && text(model, 5).text === 'Exit' &&
                     /^NO - /.test(document.querySelector('#panel > .entry [data-field-name="option"] select').selectedOptions[0].textContent) &&
                     !/not a word/.test(document.querySelector('#panel > .entry [data-field-name="option"] select').textContent)},
  {step: 'the exit button, picked on the screen, is nudged down with Shift+arrow keys',
   act: [click('[data-entry="BUTTON5"]'), key('ArrowDown', 'Shift'), key('ArrowDown', 'Shift')],
   holds: (model) => button(model, 5).x === 60 && button(model, 5).y === 380},
  {step: 'a new list of restart buttons names the chain\'s members',
   act: [click('[data-action="settings"]'), click('[data-add-key="TRAPREBOOTBUTTONS"]')],
   holds: (model) => model.entries.some((e) => e.used && e.name === 'TRAPREBOOTBUTTONS' && e.value === '1,2')},
  {step: 'a check box unticked in the list leaves it',
   act: [click(entryBox('[BEGIN] TRAPREBOOTBUTTONS', 1))],
   holds: (model) => model.entries.some((e) => e.used && e.name === 'TRAPREBOOTBUTTONS' && e.value === '2')},
  {step: 'ticked again, the chain holds both installers\' restarts back, and asks at its end',
   act: [click(entryBox('[BEGIN] TRAPREBOOTBUTTONS', 1)),
         click('[data-add-key="TRAPREBOOT"]'), type(entryField('[BEGIN] TRAPREBOOT', 'value'), 'Restart later.'),
         click('[data-add-key="FINALREBOOT"]')],
   holds: (model) => model.entries.some((e) => e.used && e.name === 'TRAPREBOOTBUTTONS' && e.value === '1,2') &&
                     model.entries.some((e) => e.used && e.name === 'FINALREBOOT')},
  {step: 'the screen is read as a German system reads it, new entries for that language',
   act: [choose('[data-action="lang"]', 'de'), choose('#new-for', 'language')],
   holds: (model) => model.tags.language === '[GER]'},
  ...[[1, 'Acme Editor (Deutsch)'], [2, 'Acme Betrachter'], [3, 'Installieren'], [4, 'Lies mich'], [5, 'Beenden']].map(([number, words]) => (
    {step: `TEXT${number} is given in German`, with: {number, words},
     act: [pick(`TEXT${number}`), click('[data-action="translate"]'), typeField('text', words)],
     holds: (model, {number, words}) => text(model, number).text === words})),
  {step: 'the English screen keeps its own texts',
   act: [choose('[data-action="lang"]', 'en')],
   holds: (model) => model.tags.language === '[ENG]' && text(model, 2).text === 'Acme Viewer' && text(model, 5).text === 'Exit'},
];

// The saved script: everything in the order the reader needs it.
const SAVED = [
  {what: '[BEGIN] first, with the background, title and chain keys',
   test: /^\[BEGIN\]\r\n(?:[A-Z]+=[^\r]*\r\n)*/, also: [/INTROBITMAP=BACK\.BMP\r\n/, /TITLE=Acme Suite\r\n/, /TRAPREBOOTBUTTONS=1,2\r\n/]},
  {what: 'the German texts come before the ones read everywhere', test: /\[TEXT\] \[GER\]\r\n(TEXT\d=[^\r]*\r\n){5}[^]*\[TEXT\]\r\n/},
  {what: 'the check boxes run the installers and wait', test: /BUTTON1=CHECKBOX,60,150,[^\r]*,CHECK,YES,BOX\.BMP,1,[^\r]*EDITOR\.EXE\r\n/,
   also: [/BUTTON2=CHECKBOX,60,190,0,0,UNCHECK,YES,BOX\.BMP,2,[^\r]*VIEWER\.EXE\r\n/]},
  {what: 'the buttons made push buttons keep their states in their own words',
   test: /BUTTON3=OKBUTTON,60,260,0,0,FOCUS,YES,PUSH\.BMP,3\r\n/, also: [/BUTTON5=EXITBUTTON,60,380,0,0,NORMAL,NO,PUSH\.BMP,5\r\n/]},
  {what: 'the install message follows its button', test: /BUTTON1=CHECKBOX[^]*\[INSTALLMESSAGE\]\r\nBUTTON1=Installing the editor\.\.\.\r\n/},
];

// The page's drawing against the program's under Wine, for one language.
async function previewUnderWine(page, lang) {
  await page.select('[data-action="lang"]', lang);
  await idle(page);
  await page.click('[data-action="preview"]');
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                   document.body.dataset.status === 'problem', {timeout: 600000});
  const status = await page.$eval('#status', (element) => element.textContent);
  check(`the preview under Wine (${lang})`, status === 'previewed', status);
  if (status !== 'previewed') return;
  const shares = await page.$eval('#truth', (figure) => ({outside: Number(figure.dataset.difference),
                                                          inside: Number(figure.dataset.insideTexts)}));
  console.log(`story: ${lang} under Wine differs in ${(shares.outside * 100).toFixed(2)}% of the pixels outside texts ` +
              `and ${(shares.inside * 100).toFixed(2)}% inside their rectangles`);
  check(`${lang} under Wine: outside texts within 1%`, shares.outside < 0.01, String(shares.outside));
  check(`${lang} under Wine: inside texts within 5%`, shares.inside < 0.05, String(shares.inside));
}

async function theStory(browser) {
  const {desk, disc} = authorsFiles();
  try {
    await withDesigner(browser, tool, disc, null, async (page, folder) => {
      await page.setViewport({width: 1400, height: 900});
      for (const row of STORY(desk)) {
        try {
          for (const act of row.act) await act(page);
          // The row's test runs in the page, with the helpers it names.
          const holds = `((button, text, kinds) => (${row.holds})(state.model, ${JSON.stringify(row.with || {})}))` +
                        `(${button}, ${text}, ${JSON.stringify(kinds)})`;
          await page.waitForFunction(`${holds} || document.body.dataset.status === 'problem'`, {timeout: BOUND});
          const status = await page.$eval('#status', (element) => (document.body.dataset.status === 'problem' ? element.textContent : ''));
          check(row.step, !status, status);
        } catch (error) {
          check(row.step, false, error.message.split('\n')[0]);
        }
      }
      await page.click('[data-action="save"]');
      await page.waitForFunction(() => /saved|problem/.test(document.querySelector('#status').textContent) ||
                                       document.body.dataset.status === 'problem');
      check('the story is saved', await page.$eval('#status', (element) => element.textContent) === 'saved');
      const saved = fs.readFileSync(path.join(folder, 'AUTORUN.INF'), 'latin1');
      for (const c of SAVED) {
        const failing = [c.test, ...(c.also || [])].filter((pattern) => !pattern.test(saved));
        check(`saved: ${c.what}`, !failing.length, `${failing.join(' ')} in ${JSON.stringify(saved)}`);
      }
      const result = spawnSync(tool, ['check', folder], {encoding: 'utf8'});
      const said = result.stdout + result.stderr;
      check('check reports no error and no warning', result.status === 0 && !/: (error|warning):/.test(said), said);
      if (process.env.DESIGNER_NO_WINE) return;
      await previewUnderWine(page, 'en');
      await previewUnderWine(page, 'de');
    });
  } finally {
    fs.rmSync(desk, {recursive: true, force: true});
  }
}

await runSuites('story', [theStory]);
