// The designer in the system's chromium: node designer_test.mjs DISCSCREEN DEMO_DISC
// Prints "designer: N passed, M failed" and exits 1 on a failure.
import {spawn, spawnSync, execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const [tool, demoDisc] = process.argv.slice(2);
const BOUND = 60000;  // a shared, loaded machine: events are waited for this long at most
const children = new Set();  // designers still running
let passed = 0;
let failed = 0;

function check(what, ok, detail = '') {
  if (ok) ++passed;
  else { ++failed; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

function discWith(script) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'designer-disc-'));
  fs.cpSync(demoDisc, folder, {recursive: true});
  if (script !== undefined) fs.writeFileSync(path.join(folder, 'AUTORUN.INF'), script);
  return folder;
}

// Starts the designer on a disc; resolves with its URL once printed.
function startDesigner(folder) {
  const child = spawn(tool, ['design', folder, '--no-browser'], {stdio: ['ignore', 'pipe', 'inherit']});
  children.add(child);
  child.once('exit', () => children.delete(child));
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('no URL from the designer')), BOUND);
    readline.createInterface({input: child.stdout}).once('line', (url) => {
      clearTimeout(timer);
      resolve({child, url, port: Number(new URL(url).port), token: new URL(url).searchParams.get('token')});
    });
    child.once('exit', (code) => reject(new Error(`designer ended with ${code}`)));
  });
}

function stop(server) {
  return new Promise((resolve) => { server.child.once('exit', resolve); server.child.kill('SIGTERM'); });
}

function rawRequest(port, options) {
  return new Promise((resolve, reject) => {
    const request = http.request({host: '127.0.0.1', port, ...options}, (response) => {
      let body = '';
      response.on('data', (chunk) => { body += chunk; });
      response.on('end', () => resolve({status: response.statusCode, body}));
    });
    request.on('error', reject);
    request.end(options.body);
  });
}

async function openPage(browser, server) {
  const page = await browser.newPage();
  page.setDefaultTimeout(BOUND);
  page.on('dialog', (dialog) => dialog.dismiss());
  await page.setViewport({width: 1400, height: 900});
  await page.goto(server.url);
  await page.waitForSelector('body[data-ready="yes"]');
  return page;
}

async function waitStatus(page, text) {
  await page.waitForFunction((t) => document.querySelector('#status').textContent === t ||
                                    document.body.dataset.status === 'problem', {}, text);
  return page.$eval('#status', (status) => status.textContent);
}

async function dragBy(page, key, dx, dy) {
  const box = await (await page.$(`[data-entry="${key}"]`)).boundingBox();
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx / 2, y + dy / 2, {steps: 3});
  await page.mouse.move(x + dx, y + dy, {steps: 3});
  await page.mouse.up();
}

function pixelOf(file, x, y) {
  return execFileSync('convert', [`${file}[0]`, '-crop', `1x1+${x}+${y}`, '-depth', '8', 'txt:-']).toString()
      .match(/#[0-9A-F]{6}/i)[0].toUpperCase();
}

const lines = (bytes) => bytes.toString('latin1').split('\n');

async function backgroundIsDrawn(browser) {
  const folder = discWith();
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  await page.waitForFunction(() => {
    const screen = document.querySelector('#screen');
    return screen.offsetWidth === 640 && document.querySelectorAll('[data-entry^="BUTTON"]').length === 8;
  });
  // The background image is a CSS picture: wait until it has been decoded.
  await page.evaluate(async () => {
    const url = getComputedStyle(document.querySelector('#screen')).backgroundImage.slice(5, -2);
    const image = new Image();
    image.src = url;
    await image.decode();
  });
  const shot = path.join(folder, 'shot.png');
  await (await page.$('#screen')).screenshot({path: shot});
  for (const [x, y] of [[5, 5], [620, 30], [320, 470], [100, 60]]) {
    check(`background pixel ${x},${y}`, pixelOf(shot, x, y) === pixelOf(path.join(folder, 'BACK.BMP'), x, y),
          `${pixelOf(shot, x, y)} vs ${pixelOf(path.join(folder, 'BACK.BMP'), x, y)}`);
  }
  await page.close();
  await stop(server);
}

async function dragAndSave(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const before = fs.readFileSync(script);
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  await dragBy(page, 'BUTTON1', 20, 10);
  await page.waitForFunction(() => {
    const button = document.querySelector('[data-entry="BUTTON1"]');
    return button && button.style.left === '60px' && button.style.top === '156px' &&
           document.querySelector('#status').textContent === '';
  });
  await page.click('[data-action="save"]');
  check('saving a drag', await waitStatus(page, 'saved') === 'saved');
  const old = lines(before);
  const now = lines(fs.readFileSync(script));
  const changed = old.map((line, i) => i).filter((i) => old[i] !== now[i]);
  check('a drag changes one line', changed.length === 1 && old.length === now.length, JSON.stringify(changed));
  check('the line gets x+20, y+10', now[changed[0]] === old[changed[0]].replace('40,146', '60,156'), now[changed[0]]);
  if (process.env.DESIGNER_NO_WINE !== '1') await wineShowsTheMove(page);
  // The README's picture of the designer.
  if (process.env.DESIGNER_PICTURE) await page.screenshot({path: process.env.DESIGNER_PICTURE, clip: {x: 0, y: 0, width: 1400, height: 560}});
  await page.close();
  await stop(server);
  return folder;
}

// The program under Wine, through the page's preview action, draws the moved
// focus button's highlighted frame at the new place, as the page drew it.
async function wineShowsTheMove(page) {
  await page.click('[data-action="preview"]');
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                   document.body.dataset.status === 'problem', {timeout: 600000});
  const status = await page.$eval('#status', (element) => element.textContent);
  check('the preview under Wine', status === 'previewed', status);
  if (status !== 'previewed') return;
  const differing = await page.evaluate(async () => {
    const truth = state.truth;
    const strip = await loadImage(pictureUrl('PUSH1.BMP'));
    const width = strip.width / 4;
    const height = strip.height;
    const pixels = (image, left, top) => {
      const canvas = new OffscreenCanvas(width, height);
      const context = canvas.getContext('2d');
      context.drawImage(image, left, top, width, height, 0, 0, width, height);
      return context.getImageData(0, 0, width, height).data;
    };
    const frame = pixels(strip, 2 * width, 0);
    const shown = pixels(truth, 60, 156);
    let count = 0;
    for (let at = 0; at < frame.length; at += 4) {
      if (frame[at] !== shown[at] || frame[at + 1] !== shown[at + 1] || frame[at + 2] !== shown[at + 2]) ++count;
    }
    return count;
  });
  check('Wine shows BUTTON1 at x+20, y+10', differing === 0, `${differing} pixels differ`);
  const share = Number(await page.$eval('#truth', (figure) => figure.dataset.difference));
  console.log(`designer: ${(share * 100).toFixed(2)}% of the pixels outside texts differ from Wine's`);
}

// Scripts as authors save them: each must come back byte for byte.
const SCRIPTS = {
  'the demo disc': fs.readFileSync(path.join(demoDisc, 'AUTORUN.INF')),
  'LF line ends, no last one': Buffer.from('[BEGIN]\nTITLE=x\n[BUTTON]\nBUTTON1=PUSHBUTTON,4,4,0,0,NORMAL,NO,PUSH1.BMP'),
  'UTF-8 with a mark': Buffer.from('\uFEFF; D\u00e9mo\r\n[BEGIN]\r\nTITLE=D\u00e9mo \u00e9t\u00e9\r\n[button]\r\nbutton1 = PUSHBUTTON, 40 ,146,0,0,FOCUS,SHOW,PUSH1.BMP\r\n'),
  'ANSI with Ctrl-Z and text after it': Buffer.concat([Buffer.from('[BEGIN]\r\nTITLE=D'), Buffer.from([0xE9]),
                                                        Buffer.from('mo,,x\r\n\x1Ajunk=1\r\n')]),
};

function fixtureScripts() {
  const folder = process.env.DESIGNER_FIXTURES;
  if (!folder) return {};
  return Object.fromEntries(fs.readdirSync(folder).map((name) => [name, fs.readFileSync(path.join(folder, name))]));
}

async function openAndSaveKeepsBytes(browser) {
  const fixtures = fixtureScripts();
  check('the Wine suites\' scripts are found', !process.env.DESIGNER_FIXTURES || Object.keys(fixtures).length >= 10);
  for (const [name, bytes] of Object.entries({...SCRIPTS, ...fixtures})) {
    const folder = discWith(bytes);
    const server = await startDesigner(folder);
    const page = await openPage(browser, server);
    await page.click('[data-action="save"]');
    const status = await waitStatus(page, 'saved');
    check(`${name}: saved`, status === 'saved', status);
    check(`${name}: byte-identical`, fs.readFileSync(path.join(folder, 'AUTORUN.INF')).equals(bytes));
    await page.close();
    await stop(server);
  }
}

async function utf8MarkStays(browser) {
  const bytes = SCRIPTS['UTF-8 with a mark'];
  const folder = discWith(bytes);
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  await dragBy(page, 'BUTTON1', 20, 10);
  await page.waitForFunction(() => document.querySelector('[data-entry="BUTTON1"]').style.left === '60px');
  await page.click('[data-action="save"]');
  await waitStatus(page, 'saved');
  const saved = fs.readFileSync(path.join(folder, 'AUTORUN.INF')).toString('utf8');
  check('the UTF-8 mark and text stay', saved === bytes.toString('utf8').replace(' 40 ,146', '60,156'), saved);
  await page.close();
  await stop(server);
}

async function refusals() {
  const server = await startDesigner(discWith());
  const host = `127.0.0.1:${server.port}`;
  const noToken = await rawRequest(server.port, {path: '/api/files', headers: {Host: host}});
  check('a request without the token is refused', noToken.status === 403, String(noToken.status));
  const foreign = await rawRequest(server.port, {path: `/api/files?token=${server.token}`, headers: {Host: `evil.example:${server.port}`}});
  check('a foreign Host is refused', foreign.status === 403, String(foreign.status));
  const getSave = await rawRequest(server.port, {path: `/api/save?token=${server.token}`, headers: {Host: host}});
  check('saving by GET is refused', getSave.status >= 400 && getSave.status < 500, String(getSave.status));
  const outside = await rawRequest(server.port, {path: `/picture?token=${server.token}&path=..%2F..%2Fetc%2Fpasswd`, headers: {Host: host}});
  check('a file outside the disc is refused', outside.status === 404, String(outside.status));
  const comma = await rawRequest(server.port, {method: 'POST', path: '/api/model', body: JSON.stringify({edits: {fields: {'34': {'12': 'a,b'}}}}),
                                               headers: {Host: host, 'X-Discscreen-Token': server.token}});
  check('a comma inside a field is refused', comma.status === 422 && /comma/.test(comma.body), comma.body);
  const alive = await rawRequest(server.port, {path: `/api/files?token=${server.token}`, headers: {Host: host}});
  check('the server goes on after bad requests', alive.status === 200);
  await stop(server);
}

// A new button dragged, a button deleted with its per-button entries, a
// message edited, and that button renumbered with its per-button entries:
// the saved file differs only there.
async function addDeleteAndEdit(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const old = lines(fs.readFileSync(script));
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  const settled = (test, ...args) => page.waitForFunction(test, {}, ...args);
  await page.click('[data-action="add-button"]');
  await settled(() => document.querySelector('[data-entry="BUTTON9"]'));
  await dragBy(page, 'BUTTON9', 30, 40);
  await settled(() => document.querySelector('[data-entry="BUTTON9"]').style.top === '60px');
  await page.click('[data-entry="BUTTON8"]');
  await settled(() => document.querySelector('[data-entry="BUTTON8"].selected'));
  await page.click('[data-action="delete"]');
  await settled(() => !document.querySelector('[data-entry="BUTTON8"]'));
  await page.click('[data-entry="BUTTON2"]');
  const messageInput = '#panel [data-section="[MESSAGE]"] input';
  await settled((selector) => document.querySelector(selector), messageInput);
  const message = await page.$(messageInput);
  await message.click({clickCount: 3});
  await message.type('Gone.');
  await page.keyboard.press('Tab');
  // The typed value is there before the page has read the edit back and
  // drawn the panel anew: wait for that, or the next input found is the old one.
  await settled(() => document.body.dataset.pending === '0');
  await settled((selector) => document.querySelector(selector).value === 'Gone.', messageInput);
  const number = await page.$('#panel input[data-field="number"]');
  await number.click({clickCount: 3});
  await number.type('12');
  await page.keyboard.press('Tab');
  await settled(() => document.querySelector('[data-entry="BUTTON12"]'));
  await page.click('[data-action="save"]');
  check('saving an added and a deleted button', await waitStatus(page, 'saved') === 'saved');
  const now = lines(fs.readFileSync(script));
  const expected = old.filter((line) => !line.startsWith('BUTTON8='))
      .map((line) => (line === 'BUTTON2=The licence terms could not be opened.\r' ? 'BUTTON2=Gone.\r' : line))
      .map((line) => (line.startsWith('BUTTON2=') ? 'BUTTON12=' + line.slice(8) : line));
  const button7 = expected.findIndex((line) => line.startsWith('BUTTON7=OKBUTTON'));
  expected.splice(button7 + 1, 0, 'BUTTON9=PUSHBUTTON,50,60,0,0,NORMAL,NO,PUSH1.BMP,7\r');
  // The new button's caption, coloured like the first button's, placed by the program.
  const text18 = expected.findIndex((line) => line.startsWith('TEXT18='));
  expected.splice(text18 + 1, 0, 'TEXT7=Button 9,6,7, ,1, , ,0,0\r');
  check('only the edited lines change', now.join('\n') === expected.join('\n'),
        now.filter((line, i) => line !== expected[i]).slice(0, 3).join(' | '));
  await page.close();
  await stop(server);
}

async function changedOnDiskIsKept(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  const theirs = Buffer.concat([fs.readFileSync(script), Buffer.from('; edited elsewhere\r\n')]);
  fs.writeFileSync(script, theirs);
  await dragBy(page, 'BUTTON2', 10, 0);
  await page.waitForFunction(() => document.querySelector('[data-entry="BUTTON2"]').style.left === '50px');
  await page.click('[data-action="save"]');
  const status = await waitStatus(page, 'saved');
  check('saving over a changed script is refused', /changed on disk/.test(status), status);
  check('the changed script is kept', fs.readFileSync(script).equals(theirs));
  await page.close();
  await stop(server);
}

// Pictures the author brings: a PNG named in a button's picture field, and
// one dropped on the screen, become bitmaps beside them that the saved
// script names; the originals stay.
async function broughtPictures(browser) {
  const folder = discWith();
  execFileSync('convert', ['-size', '120x30', 'xc:orange', path.join(folder, 'STRIP.PNG')]);
  execFileSync('convert', ['-size', '640x480', 'gradient:navy-black', path.join(os.tmpdir(), 'designer-photo.png')]);
  const photo = fs.readFileSync(path.join(os.tmpdir(), 'designer-photo.png')).toString('base64');
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  await page.click('[data-entry="BUTTON1"]');
  await page.evaluate(() => {
    const field = [...document.querySelectorAll('#panel label')].find((label) => label.firstChild.textContent === 'picture');
    const input = field.querySelector('input');
    input.value = 'STRIP.PNG';
    input.dispatchEvent(new Event('change'));
  });
  await page.waitForFunction(() => document.querySelector('[data-entry="BUTTON1"]').style.backgroundImage.includes('STRIP.BMP') ||
                                   document.body.dataset.status === 'problem');
  await page.evaluate((data) => {
    const bytes = Uint8Array.from(atob(data), (ch) => ch.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes], 'Photo.png', {type: 'image/png'}));
    document.querySelector('#screen').dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
  }, photo);
  await page.waitForFunction(() => document.querySelector('#screen').style.backgroundImage.includes('Photo.BMP') ||
                                   document.body.dataset.status === 'problem');
  await page.click('[data-action="save"]');
  check('saving brought pictures', await waitStatus(page, 'saved') === 'saved');
  const script = fs.readFileSync(path.join(folder, 'AUTORUN.INF'), 'latin1');
  check('the button names the bitmap of its PNG', /BUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,STRIP\.BMP,/.test(script), script);
  check('the dropped picture is the background', /INTROBITMAP=Photo\.BMP/.test(script), script);
  for (const file of ['STRIP.PNG', 'STRIP.BMP', 'Photo.png', 'Photo.BMP']) {
    check(`${file} is on the disc`, fs.existsSync(path.join(folder, file)));
  }
  await page.close();
  await stop(server);
}

// --- Author tasks, done through the page alone ---------------------------

const SMALL = '[BEGIN]\r\nTITLE=t\r\n[TEXT]\r\nTEXT1=Go,0,7\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,20,20,100,24,NORMAL,NO, ,1\r\n';

const idle = (page) => page.waitForFunction(() => document.body.dataset.pending === '0');
const inField = (name, inner) => `#panel [data-field-name="${name}"] ${inner}`;

async function act(page, what) {
  await what();
  await idle(page);
}
const click = (selector) => (page) => act(page, () => page.click(selector));
const choose = (selector, value) => (page) => act(page, () => page.select(selector, value));
const pick = (key) => click(`#entries li[data-key="${key}"]`);

// Each task: the script it starts from, the steps in the page, and what the
// saved script then holds (a pattern), or a test of the page itself.
const AUTHOR_TASKS = [
  {task: 'a button on an empty script comes with [BEGIN] first and its caption before it', script: '',
   steps: [click('[data-action="add-button"]')],
   saved: /^\[BEGIN\]\r\n\[TEXT\]\r\nTEXT1=Button 1,[^\r]*\r\n\[BUTTON\]\r\nBUTTON1=PUSHBUTTON,20,20,100,24,NORMAL,NO, ,1\r\n$/,
   checkPasses: true},
  {task: 'a kind is picked from its words, and a check box offers its own states', script: SMALL,
   steps: [pick('BUTTON1'), choose(inField('kind', 'select'), 'CHECKBOX'), choose(inField('state', 'select'), 'CHECK')],
   saved: /\r\nBUTTON1=CHECKBOX,20,20,100,24,CHECK,NO, ,1\r\n/},
  {task: 'a colour is picked from the program\'s colours', script: SMALL,
   steps: [pick('TEXT1'), click(inField('highlight colour', '.swatch[data-colour="4"]'))],
   saved: /\r\nTEXT1=Go,4,7\r\n/},
  {task: 'a font added from a text\'s font pick goes into [BEGIN] and is named', script: SMALL,
   steps: [pick('TEXT1'), choose(inField('font', 'select'), 'add')],
   saved: /^\[BEGIN\]\r\nTITLE=t\r\nFONT1=Tahoma,14\r\n\[TEXT\]\r\nTEXT1=Go,0,7, ,1\r\n/},
  {task: 'an install message goes after its button', script: SMALL,
   steps: [pick('BUTTON1'), click('[data-add-section="[INSTALLMESSAGE]"]')],
   saved: /BUTTON1=PUSHBUTTON[^\r]*\r\n\[INSTALLMESSAGE\]\r\nBUTTON1=New message\r\n$/, checkPasses: true},
  {task: 'a German text goes into a [GER] section', script: SMALL,
   steps: [choose('[data-action="lang"]', 'de'), choose('#new-for', 'language'), click('[data-action="add-text"]')],
   saved: /\r\nTEXT1=Go,0,7\r\n\[TEXT\] \[GER\]\r\nTEXT2=New text,[^\r]*\r\n\[BUTTON\]/},
  {task: 'a [BEGIN] key is added from the screen settings', script: SMALL,
   steps: [click('[data-action="settings"]'), click('[data-add-key="RUNMULTIPLE"]')],
   saved: /^\[BEGIN\]\r\nTITLE=t\r\nRUNMULTIPLE=NO\r\n\[TEXT\]/, checkPasses: true},
  {task: 'every field of a button shows its meaning', script: SMALL, steps: [pick('BUTTON1')],
   page: () => [...document.querySelectorAll('#panel [data-section="[BUTTON]"] .field')]
       .filter((field) => field.querySelector('.meaning').textContent.length > 10).length === 12},
  {task: 'a finding stands on its field', script: SMALL.replace('NO, ,1', 'NO,GONE.BMP,1'), steps: [pick('BUTTON1')],
   page: () => /GONE\.BMP.*not on the disc/.test(document.querySelector('#panel [data-field-name="picture"] .field-findings').textContent)},
  {task: 'a picked text says which button shows it', script: SMALL, steps: [pick('TEXT1')],
   page: () => document.querySelector('#panel .owners').textContent === 'Shown as the caption of BUTTON1.'},
  {task: 'a button in the state HIDE is drawn, as the program draws it', script: SMALL.replace('NORMAL', 'HIDE'), steps: [],
   page: () => Boolean(document.querySelector('#screen [data-entry="BUTTON1"]'))},
  {task: 'dragging a button takes along the caption the program places beside it',
   script: SMALL.replace('NO, ,1', 'NO,PUSH1.BMP,1'),
   steps: [(page) => page.evaluate(() => { window.captionWas = document.querySelector('[data-entry="TEXT1"]').offsetLeft; }),
           (page) => act(page, () => dragBy(page, 'BUTTON1', 30, 0))],
   page: () => document.querySelector('[data-entry="BUTTON1"]').style.left === '50px' &&
               document.querySelector('[data-entry="TEXT1"]').offsetLeft === window.captionWas + 30},
];

async function authorTasks(browser) {
  for (const task of AUTHOR_TASKS) {
    const folder = discWith(task.script);
    const server = await startDesigner(folder);
    const page = await openPage(browser, server);
    try {
      for (const step of task.steps) await step(page);
      if (task.page) {
        check(task.task, await page.evaluate(task.page));
      } else {
        await page.click('[data-action="save"]');
        const status = await waitStatus(page, 'saved');
        const saved = fs.readFileSync(path.join(folder, 'AUTORUN.INF'), 'latin1');
        check(task.task, status === 'saved' && task.saved.test(saved), `${status}: ${JSON.stringify(saved)}`);
        if (task.checkPasses) {
          const result = spawnSync(tool, ['check', folder], {encoding: 'utf8'});
          check(`${task.task}: check finds no error`, !/: error:/.test(result.stdout + result.stderr), result.stdout);
        }
      }
    } catch (error) {
      check(task.task, false, error.message);
    }
    await page.close();
    await stop(server);
  }
}

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
  protocolTimeout: 700000,  // the first Wine preview makes its prefix
});
try {
  await backgroundIsDrawn(browser);
  const moved = await dragAndSave(browser);
  if (process.env.DESIGNER_MOVED_DISC) fs.writeFileSync(process.env.DESIGNER_MOVED_DISC, moved);
  await openAndSaveKeepsBytes(browser);
  await utf8MarkStays(browser);
  await refusals();
  await addDeleteAndEdit(browser);
  await changedOnDiskIsKept(browser);
  await broughtPictures(browser);
  await authorTasks(browser);
} catch (error) {
  ++failed;
  console.log(`FAIL: ${error.stack}`);
} finally {
  await browser.close();
  for (const child of children) child.kill('SIGTERM');
}
console.log(`designer: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
