// The designer in the system's chromium: node designer_test.mjs DISCSCREEN DEMO_DISC
// Prints "designer: N passed, M failed" and exits 1 on a failure.
import {spawn, spawnSync, execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
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
      response.on('end', () => resolve({status: response.statusCode, body, headers: response.headers}));
    });
    request.on('error', reject);
    request.setTimeout(BOUND, () => request.destroy(new Error(`no answer to ${options.path} in ${BOUND} ms`)));
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

// (The status of an earlier request may still read `text`: the answer to the
// one just made is waited for first.)
async function waitStatus(page, text) {
  await page.waitForFunction((t) => document.body.dataset.pending === '0' &&
                                    (document.querySelector('#status').textContent === t ||
                                     document.body.dataset.status === 'problem'), {}, text);
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
  const base = await versionOf(server);
  const comma = await rawRequest(server.port, {method: 'POST', path: '/api/model', body: JSON.stringify({base, edits: {fields: {'34': {'12': 'a,b'}}}}),
                                               headers: {Host: host, 'X-Discscreen-Token': server.token}});
  check('a comma inside a field is refused', comma.status === 422 && /comma/.test(comma.body), comma.body);
  const alive = await rawRequest(server.port, {path: `/api/files?token=${server.token}`, headers: {Host: host}});
  check('the server goes on after bad requests', alive.status === 200);
  await stop(server);
}

function post(server, path, body, headers = {}) {
  return rawRequest(server.port, {method: 'POST', path, body: typeof body === 'string' || Buffer.isBuffer(body) ? body : JSON.stringify(body),
                                  headers: {Host: `127.0.0.1:${server.port}`, 'X-Discscreen-Token': server.token, ...headers}});
}

async function versionOf(server) {
  return JSON.parse((await post(server, '/api/model', {})).body).version;
}

const demoLines = () => lines(fs.readFileSync(path.join(demoDisc, 'AUTORUN.INF')));
const CODE_PAGE_SCRIPT = Buffer.from('[BEGIN]\r\n; caf\xC9\r\nTITLE=Caf\xE9\r\nINTROBITMAP=CAF\xC9.BMP\r\n[BUTTON]\r\n' +
                                     'BUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,PUSH1.BMP\r\n', 'latin1');
const ASCII_SCRIPT = Buffer.from('[BEGIN]\r\nTITLE=Plain\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,PUSH1.BMP\r\n' +
                                 '[TEXT]\r\nTEXT1=Hello,0,0, ,1,20,20,120,20\r\n');
const sameAsDemo = (folder) => fs.readFileSync(path.join(folder, 'AUTORUN.INF')).equals(fs.readFileSync(path.join(demoDisc, 'AUTORUN.INF')));
const savedText = (folder, encoding = 'latin1') => fs.readFileSync(path.join(folder, 'AUTORUN.INF')).toString(encoding);
const buttonAt = (model, number) => model.buttons.find((button) => button.number === number);

// Requests as an attacker or a careless author sends them, on the demo disc
// unless a script is given (line 34 is BUTTON1 there). `edits` go to `path`
// (/api/model unless given) with this page's base; `raw` is sent as it is.
// Each gets its status, every answer is JSON with no-store and no-referrer,
// the server goes on, and `holds` says what the disc then holds.
const REQUEST_CASES = [
  {name: 'field 2^31-1 of a line', edits: {fields: {36: {2147483647: 'x'}}}, status: 400, holds: sameAsDemo},
  {name: 'field ten million, saved', path: '/api/save', edits: {fields: {36: {10000000: 'x'}}}, status: 400, holds: sameAsDemo},
  {name: 'a million added entries', edits: {added: Array(1000000).fill(0)}, status: 413},
  {name: 'a body of 2 MB of brackets', raw: '['.repeat(2 << 20), status: 413},
  {name: 'brackets nested past the bound', raw: `{"edits":${'['.repeat(200000)}${']'.repeat(200000)}}`, status: 400},
  {name: 'a byte that is no UTF-8', raw: Buffer.from('{"lang":"\xFF"}', 'latin1'), status: 400},
  {name: 'a line key with letters after it', edits: {fields: {'34x': {2: '1'}}}, status: 400},
  {name: 'a deleted line that is no whole number', path: '/api/save', edits: {deleted: [2.7]}, status: 400, holds: sameAsDemo},
  {name: 'a foreign Origin with the token', edits: {}, headers: {Origin: 'http://evil.example'}, status: 403},
  {name: 'a text ending in Ctrl-Z', path: '/api/save', edits: {fields: {34: {12: 'README.TXT\x1A'}}}, status: 422, holds: sameAsDemo},
  {name: 'a key edited to [END]', path: '/api/save', edits: {fields: {34: {'-1': ' [END]'}}}, status: 422, holds: sameAsDemo},
  {name: 'a new entry [END]', path: '/api/save', edits: {added: [{afterLine: 34, text: '[END]'}]}, status: 422, holds: sameAsDemo},
  {name: 'a text that would make an ASCII script UTF-8', script: ASCII_SCRIPT, path: '/api/save',
   edits: {fields: {6: {1: '\u00C3\u00A9'}}}, status: 422, holds: (folder) => savedText(folder) === ASCII_SCRIPT.toString('latin1')},
  {name: 'a character the code page lacks', script: ASCII_SCRIPT, edits: {fields: {6: {1: '\u0101'}}}, status: 422},
  {name: 'an ASCII script made UTF-8 when asked', script: ASCII_SCRIPT, path: '/api/save', utf8: true,
   edits: {fields: {6: {1: '\u0101'}}}, status: 200, holds: (folder) => savedText(folder, 'utf8').includes('\r\nTEXT1=\u0101,0,0,')},
  {name: 'a text saved in the script\'s code page', script: CODE_PAGE_SCRIPT, path: '/api/save',
   edits: {fields: {3: {0: 'D\u00E9j\u00E0'}}}, status: 200,
   holds: (folder) => savedText(folder) === CODE_PAGE_SCRIPT.toString('latin1').replace('TITLE=Caf\xE9', 'TITLE=D\xE9j\xE0')},
  {name: 'a code-page script and file name are shown', script: CODE_PAGE_SCRIPT, files: {'CAF\xC9.BMP': 'BACK.BMP'}, edits: {},
   status: 200, answer: (model) => model.title === 'Caf\u00E9' && model.background === 'CAF\u00C9.BMP'},
  {name: 'a file named in a code page is listed', files: {'CAF\xC9.BMP': 'BACK.BMP'}, get: '/api/files', status: 200,
   answer: (files) => files.includes('CAF\u00C9.BMP')},
  {name: 'a picture', get: '/picture?path=PUSH1.BMP', status: 200},
  {name: 'a model on a base another page replaced keeps to its text', stale: true, edits: {fields: {34: {2: '55'}}},
   status: 200, answer: (model) => model.stale && buttonAt(model, 1).x === 55 && model.entries.some((e) => e.line === 2)},
  {name: 'a save on a base another page replaced', stale: true, path: '/api/save', edits: {fields: {34: {2: '55'}}},
   status: 409, holds: (folder) => lines(fs.readFileSync(path.join(folder, 'AUTORUN.INF'))).join('\n') ===
                                   demoLines().filter((line, i) => i !== 1).join('\n')},
  {name: 'a linked script: its target is written, the link stays', path: '/api/save', edits: {fields: {34: {2: '55'}}},
   prepare: (folder) => { fs.renameSync(path.join(folder, 'AUTORUN.INF'), path.join(folder, 'REAL.INF')); fs.symlinkSync('REAL.INF', path.join(folder, 'AUTORUN.INF')); },
   status: 200, holds: (folder) => fs.lstatSync(path.join(folder, 'AUTORUN.INF')).isSymbolicLink() &&
                                   fs.readFileSync(path.join(folder, 'REAL.INF'), 'latin1').includes('BUTTON1=PUSHBUTTON,55,146,')},
  {name: 'a hard-linked script stays one file', path: '/api/save', edits: {fields: {34: {2: '55'}}},
   prepare: (folder) => fs.linkSync(path.join(folder, 'AUTORUN.INF'), path.join(folder, 'OTHER.INF')),
   status: 200, holds: (folder) => fs.readFileSync(path.join(folder, 'OTHER.INF'), 'latin1').includes('BUTTON1=PUSHBUTTON,55,146,')},
  {name: 'owner and mode stay', path: '/api/save', edits: {fields: {34: {2: '55'}}},
   prepare: (folder) => { fs.chmodSync(path.join(folder, 'AUTORUN.INF'), 0o640); if (process.getuid() === 0) fs.chownSync(path.join(folder, 'AUTORUN.INF'), 4321, 4321); },
   status: 200, holds: (folder) => { const info = fs.statSync(path.join(folder, 'AUTORUN.INF'));
     return (info.mode & 0o7777) === 0o640 && (process.getuid() !== 0 || info.uid === 4321) && savedText(folder).includes('BUTTON1=PUSHBUTTON,55,146,'); }},
];

function memoryPeakMb(server) {
  const status = fs.readFileSync(`/proc/${server.child.pid}/status`, 'utf8');
  return Number(/VmHWM:\s*(\d+)/.exec(status)[1]) / 1024;
}

async function requestCases() {
  for (const test of REQUEST_CASES) {
    const folder = discWith(test.script);
    for (const [name, from] of Object.entries(test.files || {})) fs.copyFileSync(path.join(folder, from), Buffer.from(`${folder}/${name}`, 'latin1'));
    if (test.prepare) test.prepare(folder);
    const server = await startDesigner(folder);
    const base = await versionOf(server);
    if (test.stale) {
      const other = await post(server, '/api/save', {base, edits: {deleted: [2]}});
      check(`${test.name}: another page saves first`, other.status === 200, other.body.slice(0, 200));
    }
    const body = test.raw !== undefined ? test.raw : {base, edits: test.edits, ...(test.utf8 ? {utf8: true} : {})};
    const answer = test.get
      ? await rawRequest(server.port, {path: `${test.get}${test.get.includes('?') ? '&' : '?'}token=${server.token}`, headers: {Host: `127.0.0.1:${server.port}`}})
      : await post(server, test.path || '/api/model', body, test.headers);
    check(`${test.name}: status ${test.status}`, answer.status === test.status, `${answer.status} ${answer.body.slice(0, 200)}`);
    check(`${test.name}: no-store, no-referrer`, answer.headers['cache-control'] === 'no-store' && answer.headers['referrer-policy'] === 'no-referrer');
    if (!test.get || test.get.startsWith('/api')) {
      let parsed = null;
      try { parsed = JSON.parse(answer.body); } catch (error) { parsed = error; }
      check(`${test.name}: the answer is JSON`, !(parsed instanceof Error), answer.body.slice(0, 200));
      if (test.answer) check(`${test.name}: the answer`, !(parsed instanceof Error) && test.answer(parsed), answer.body.slice(0, 300));
    }
    if (test.holds) check(`${test.name}: the disc holds`, test.holds(folder), savedText(folder).slice(0, 300));
    const alive = await post(server, '/api/model', {});
    check(`${test.name}: the server goes on`, alive.status === 200, alive.body.slice(0, 200));
    check(`${test.name}: memory stays under 300 MB`, memoryPeakMb(server) < 300, `${memoryPeakMb(server)} MB`);
    await stop(server);
  }
  const port = spawnSync(tool, ['design', discWith(), '--port', '80abc', '--no-browser'], {timeout: BOUND});
  check('--port 80abc is refused', port.status === 2, String(port.status));
}

// Two pages on one server: a page whose script was saved or reloaded from
// the other gets a conflict, and its edit lands on no line.
async function twoPages(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  const [first, second] = [await openPage(browser, server), await openPage(browser, server)];
  const settledOn = (page, test, ...args) => page.waitForFunction(test, {}, ...args);
  // Headless chromium falls over on input to a tab in the background.
  const front = (page) => page.bringToFront();
  const moved = (number, x) => state.model.buttons.some((button) => button.number === number && button.x === x);
  await front(second);
  await dragBy(second, 'BUTTON1', 20, 0);
  await settledOn(second, moved, 1, 60);
  await front(first);
  await first.click('[data-entry="BUTTON8"]');
  await settledOn(first, () => document.querySelector('[data-entry="BUTTON8"].selected'));
  await first.click('[data-action="delete"]');
  await settledOn(first, () => !document.querySelector('[data-entry="BUTTON8"]'));
  await first.click('[data-action="save"]');
  check('two pages: the first saves', await waitStatus(first, 'saved') === 'saved');
  const afterFirst = fs.readFileSync(script);
  await front(second);
  await second.click('[data-action="save"]');
  const refused = await waitStatus(second, 'saved');
  check('two pages: the second page\'s save is refused', /another page/.test(refused), refused);
  check('two pages: the first page\'s save stays alone', fs.readFileSync(script).equals(afterFirst));
  // A reload in one tab while the other has an edit pending.
  await front(first);
  await dragBy(first, 'BUTTON2', 10, 0);
  await settledOn(first, moved, 2, 50);
  await front(second);
  await second.click('[data-action="reload"]');
  // (Its status still shows the refusal: wait for the reload itself.)
  await settledOn(second, () => document.querySelector('#status').textContent === 'reloaded');
  // (A drag in a tab brought back to the front loses its pointer moves.)
  await second.click('[data-entry="BUTTON3"]');
  await settledOn(second, () => document.querySelector('#panel .field[data-field="2"] input'));
  const x = await second.$('#panel .field[data-field="2"] input');
  await x.click({clickCount: 3});
  await x.type('70');
  await second.keyboard.press('Tab');
  await settledOn(second, moved, 3, 70);
  await second.click('[data-action="save"]');
  check('two pages: the reloaded page saves', await waitStatus(second, 'saved') === 'saved');
  const afterSecond = fs.readFileSync(script);
  await front(first);
  // Its status still says 'saved' from before: wait for this save's answer.
  await first.click('[data-action="save"]');
  await settledOn(first, () => document.body.dataset.pending === '0');
  const stale = await first.$eval('#status', (status) => status.textContent);
  check('two pages: the page that did not reload is refused', /another page/.test(stale), stale);
  const expected = lines(afterFirst).map((line) => line.replace(/^BUTTON3=PUSHBUTTON,40,/, 'BUTTON3=PUSHBUTTON,70,'));
  check('two pages: only the reloaded page\'s edit is saved', lines(afterSecond).join('\n') === expected.join('\n') &&
        fs.readFileSync(script).equals(afterSecond));
  await first.close();
  await second.close();
  await stop(server);
}

// Clients that send a request's head a byte at a time: each is cut off at
// the total deadline, and the page's requests are answered meanwhile.
async function slowClients() {
  const server = await startDesigner(discWith());
  const head = `GET /api/files?token=${server.token} HTTP/1.1\r\nHost: 127.0.0.1:${server.port}\r\nX-Padding: ${'x'.repeat(4000)}\r\n\r\n`;
  const cutOff = [];
  const sockets = [];
  for (let i = 0; i < 40; ++i) {
    const socket = net.connect(server.port, '127.0.0.1');
    sockets.push(socket);
    let sent = 0;
    const trickle = setInterval(() => { if (sent < head.length) socket.write(head[sent++]); }, 500);
    cutOff.push(new Promise((resolve) => {
      const timer = setTimeout(() => resolve(false), BOUND);
      socket.on('error', () => {});
      socket.on('close', () => { clearTimeout(timer); clearInterval(trickle); resolve(sent < head.length); });
    }));
  }
  const answer = await post(server, '/api/model', {});
  check('slow clients: a request is answered while they trickle', answer.status === 200 &&
        sockets.filter((socket) => !socket.destroyed).length > 0, String(answer.status));
  const ends = await Promise.all(cutOff);
  check('slow clients: each is cut off before its head is whole', ends.every(Boolean), JSON.stringify(ends));
  await stop(server);
}

// An editor saving the script 0-2 ms after the designer does: its write is
// never lost, whichever comes first.
async function outsideWriteDuringSave() {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  let lost = 0;
  const rounds = Number(process.env.DESIGNER_SAVE_ROUNDS || 100);
  for (let round = 0; round < rounds; ++round) {
    const reloaded = JSON.parse((await post(server, '/api/reload', {})).body);
    const theirs = Buffer.concat([fs.readFileSync(script), Buffer.from(`; edited elsewhere ${round}\r\n`)]);
    const saving = post(server, '/api/save', {base: reloaded.version, edits: {fields: {34: {2: String(100 + round)}}}});
    await new Promise((resolve) => setTimeout(resolve, round % 3));
    fs.writeFileSync(script, theirs);
    await saving;
    if (!fs.readFileSync(script).equals(theirs)) ++lost;
  }
  check('an outside write during a save is never lost', lost === 0, `${lost} of ${rounds} lost`);
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
  // Each edit redraws the screen when the server's reading comes back: a
  // node taken before that is gone after it.
  await settled(() => state.model.buttons.some((button) => button.number === 9 && button.y === 60));
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

// Another writer changes the script while a page is open: the page says so
// and reloads it keeping the author's edits; an edit of a line they changed
// too is shown as a conflict, and their line is kept.
const replaceLine = (bytes, from, to) => Buffer.from(bytes.toString('latin1').replace(from, to), 'latin1');

async function editedOnDiskMeanwhile(page, script, theirs) {
  await dragBy(page, 'BUTTON1', 20, 10);
  await page.waitForFunction(() => state.model.buttons.some((button) => button.number === 1 && button.x === 60));
  fs.writeFileSync(script, theirs);
  await page.waitForSelector('#disk-notice:not([hidden])');
  await page.click('[data-action="disk-keep"]');
  return page.waitForFunction(() => /^reloaded/.test(document.querySelector('#status').textContent) ||
                                    document.body.dataset.status === 'problem')
      .then(() => page.$eval('#status', (status) => status.textContent));
}

async function diskChangeKeepsEdits(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  const before = fs.readFileSync(script);
  const theirs = Buffer.concat([replaceLine(before, 'BUTTON2=PUSHBUTTON,40,192,', 'BUTTON2=PUSHBUTTON,40,300,'),
                                Buffer.from('; edited elsewhere\r\n')]);
  const status = await editedOnDiskMeanwhile(page, script, theirs);
  check('changed on disk: the edits are carried over', status === 'reloaded, your edits kept', status);
  check('changed on disk: the page shows their change',
        await page.evaluate(() => state.model.buttons.some((button) => button.number === 2 && button.y === 300)));
  await page.click('[data-action="save"]');
  check('changed on disk: the carried edits save', await waitStatus(page, 'saved') === 'saved');
  const expected = replaceLine(theirs, 'BUTTON1=PUSHBUTTON,40,146,', 'BUTTON1=PUSHBUTTON,60,156,');
  check('changed on disk: the file holds both changes', fs.readFileSync(script).equals(expected),
        lines(fs.readFileSync(script)).filter((line, i) => line !== lines(expected)[i]).join(' | '));
  await page.close();
  await stop(server);
}

async function diskChangeConflicts(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  const page = await openPage(browser, server);
  const theirs = replaceLine(fs.readFileSync(script), 'BUTTON1=PUSHBUTTON,40,146,', 'BUTTON1=PUSHBUTTON,45,146,');
  const status = await editedOnDiskMeanwhile(page, script, theirs);
  check('a conflict on disk: the page says so', /1 of your edits clash/.test(status), status);
  const shown = await page.$eval('#disk-conflicts', (box) => !box.hidden && box.textContent);
  check('a conflict on disk: the line and both texts are shown',
        /line 34 as loaded: BUTTON1=PUSHBUTTON,40,146,.*\nyours: BUTTON1=PUSHBUTTON,60,156,.*\non disk \(line 34\): BUTTON1=PUSHBUTTON,45,146,/
            .test(shown), shown);
  check('a conflict on disk: the page shows their line',
        await page.evaluate(() => state.model.buttons.some((button) => button.number === 1 && button.x === 45)));
  await page.click('[data-action="save"]');
  check('a conflict on disk: saving keeps their line', await waitStatus(page, 'saved') === 'saved' &&
        fs.readFileSync(script).equals(theirs));
  await page.close();
  await stop(server);
}

// A page opened after the script changed on disk shows it as it is now.
async function pageShowsTheFileOnDisk(browser) {
  const folder = discWith();
  const script = path.join(folder, 'AUTORUN.INF');
  const server = await startDesigner(folder);
  const theirs = replaceLine(fs.readFileSync(script), 'BUTTON1=PUSHBUTTON,40,146,', 'BUTTON1=PUSHBUTTON,100,146,');
  fs.writeFileSync(script, theirs);
  const page = await openPage(browser, server);
  check('a page opened after a change on disk shows it',
        await page.evaluate(() => state.model.buttons.some((button) => button.number === 1 && button.x === 100)));
  await dragBy(page, 'BUTTON2', 10, 0);
  await page.waitForFunction(() => state.model.buttons.some((button) => button.number === 2 && button.x === 50));
  await page.click('[data-action="save"]');
  check('a page opened after a change on disk saves over it', await waitStatus(page, 'saved') === 'saved' &&
        fs.readFileSync(script).equals(replaceLine(theirs, 'BUTTON2=PUSHBUTTON,40,', 'BUTTON2=PUSHBUTTON,50,')));
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
  await page.waitForFunction(() => document.querySelector('#screen').style.backgroundImage.includes('PHOTO.BMP') ||
                                   document.body.dataset.status === 'problem');
  await page.click('[data-action="save"]');
  check('saving brought pictures', await waitStatus(page, 'saved') === 'saved');
  const script = fs.readFileSync(path.join(folder, 'AUTORUN.INF'), 'latin1');
  check('the button names the bitmap of its PNG', /BUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,STRIP\.BMP,/.test(script), script);
  check('the dropped picture is the background', /INTROBITMAP=PHOTO\.BMP/.test(script), script);
  for (const file of ['STRIP.PNG', 'STRIP.BMP', 'Photo.png', 'PHOTO.BMP']) {
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
// A value given to an input as an author leaves it (its change event).
const typeInto = (selector, text) => (page) => act(page, () => page.evaluate((at, value) => {
  const input = document.querySelector(at);
  input.value = value;
  input.dispatchEvent(new Event('change'));
}, selector, text));
// Waits, within the bound, until the page shows what `test` asks.
const until = (test) => (page) => page.waitForFunction(test, {timeout: BOUND});

// A bitmap of `bitCount` bits with its colour masks, if any, after its header.
function bitmap(width, height, bitCount, masks = []) {
  const bits = Buffer.alloc(Math.ceil(width * bitCount / 32) * 4 * height, 0x55);
  const info = Buffer.alloc(40 + 4 * masks.length);
  info.writeUInt32LE(40, 0);
  info.writeInt32LE(width, 4);
  info.writeInt32LE(height, 8);
  info.writeUInt16LE(1, 12);
  info.writeUInt16LE(bitCount, 14);
  info.writeUInt32LE(masks.length ? 3 : 0, 16);
  info.writeUInt32LE(bits.length, 20);
  masks.forEach((mask, i) => info.writeUInt32LE(mask, 40 + 4 * i));
  const head = Buffer.alloc(14);
  head.write('BM');
  head.writeUInt32LE(14 + info.length + bits.length, 2);
  head.writeUInt32LE(14 + info.length, 10);
  return Buffer.concat([head, info, bits]);
}
// Loaded by the program, but its masks are no runs of bits: the page cannot show it.
const MASKED_BITMAP = bitmap(40, 10, 16, [0xF0F0, 0x0F0F, 0]);
// In the page, for the tasks' tests: the refusal beside a field, '' for none.
const PAGE_HELPERS = `window.refusalOf = (name) =>
  (document.querySelector('#panel [data-field-name="' + name + '"] .refusal') || {}).textContent || '';`;
const LATE_TEXT = '[BEGIN]\r\nTITLE=t\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,20,20,100,24,NORMAL,NO, ,1\r\n[TEXT]\r\nText1 = Go,0,7 \r\n';

// Each task: the script it starts from, the steps in the page, and what the
// saved script then holds (a pattern), or a test of the page itself.
const AUTHOR_TASKS = [
  {task: 'a button on an empty script comes with [BEGIN] first and its caption before it', script: '',
   steps: [click('[data-action="add-button"]')],
   saved: /^\[BEGIN\]\r\n\[TEXT\]\r\nTEXT1=Button 1,[^\r]*\r\n\[BUTTON\]\r\nBUTTON1=PUSHBUTTON,20,20,100,24,NORMAL,NO, ,1\r\n$/,
   checkPasses: true},
  {task: 'a button added with a check box picked is the next check box, under the drawn one',
   script: SMALL.replace('PUSHBUTTON,20,20,100,24,NORMAL', 'CHECKBOX,20,20,100,24,UNCHECK'),
   steps: [pick('BUTTON1'), click('[data-action="add-button"]')],
   saved: /\r\nBUTTON1=CHECKBOX,[^\r]*\r\nBUTTON2=CHECKBOX,20,36,100,24,UNCHECK,NO, ,2\r\n$/},
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
   saved: /BUTTON1=PUSHBUTTON[^\r]*\r\n\[INSTALLMESSAGE\]\r\nBUTTON1=Starting setup\.\.\.\r\n$/, checkPasses: true},
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
  {task: 'a comma refused in a field stands beside it and on the drawn text, and goes once the field is fixed', script: SMALL,
   steps: [pick('TEXT1'), typeInto(inField('text', 'input'), 'a,b'),
           until(() => /refused: .*cannot hold a comma \('a,b'\)/.test(refusalOf('text')) &&
                       document.querySelector('#screen [data-entry="TEXT1"].refused') && document.body.dataset.status === 'problem'),
           typeInto(inField('text', 'input'), 'Went')],
   page: () => !document.querySelector('#panel .refusal, #screen .refused') && document.querySelector('#status').textContent === '',
   saved: /\r\nTEXT1=Went,0,7\r\n/},
  {task: 'a refused change is taken back: another field\'s change goes through, the refusal stays on its own field', script: SMALL,
   steps: [pick('TEXT1'), typeInto(inField('text', 'input'), 'a,b'), until(() => refusalOf('text')),
           click(inField('highlight colour', '.swatch[data-colour="4"]'))],
   page: () => /comma/.test(refusalOf('text')), saved: /\r\nTEXT1=Go,4,7\r\n/},
  {task: 'an undo takes the refusal away', script: SMALL,
   steps: [pick('TEXT1'), click(inField('highlight colour', '.swatch[data-colour="4"]')),
           typeInto(inField('text', 'input'), 'a,b'), until(() => refusalOf('text')), click('[data-action="undo"]')],
   page: () => !document.querySelector('#panel .refusal') && document.body.dataset.status !== 'problem',
   saved: /\r\nTEXT1=Go,0,7\r\n/},
  {task: 'a character the code page lacks is refused beside its field', script: SMALL,
   steps: [pick('TEXT1'), typeInto(inField('text', 'input'), '\u0101')], page: () => /code page 1252 lacks/.test(refusalOf('text'))},
  {task: 'a picture that cannot be converted is refused beside the picture field and on the button, until one is given',
   script: SMALL, files: {'BROKEN.PNG': Buffer.from('no picture at all')},
   steps: [pick('BUTTON1'), typeInto(inField('picture', 'input'), 'BROKEN.PNG'),
           until(() => /BROKEN/.test(refusalOf('picture')) && document.querySelector('#screen [data-entry="BUTTON1"].refused')),
           typeInto(inField('picture', 'input'), 'PUSH1.BMP')],
   page: () => !document.querySelector('#panel .refusal, #screen .refused'), saved: /,NO,PUSH1\.BMP,1\r\n/},
  {task: 'a picture the page cannot show says why on the drawn button and on its field',
   script: SMALL.replace('NO, ,1', 'NO,ODD.BMP,1'), files: {'ODD.BMP': MASKED_BITMAP},
   steps: [pick('BUTTON1'), until(() => document.querySelector('#panel [data-field-name="picture"] .picture-refusal'))],
   page: () => /colour masks/.test(document.querySelector('#screen [data-entry="BUTTON1"] .picture-problem').textContent) &&
               /not shown: .*colour masks/.test(document.querySelector('#panel [data-field-name="picture"] .picture-refusal').textContent)},
  {task: 'findings mark the drawn items, an error apart from a warning, with their messages as titles',
   script: SMALL.replace('NO, ,1', 'NO,GONE.BMP,1') + 'BUTTON2=PUSHBUTTON,20,60,0,0,NORMAL,NO,ODD.BMP\r\n', files: {'ODD.BMP': MASKED_BITMAP},
   steps: [], page: () => {
     const [gone, odd] = ['BUTTON1', 'BUTTON2'].map((key) => document.querySelector(`#screen [data-entry="${key}"]`));
     return gone.classList.contains('error') && /GONE\.BMP.*not on the disc/.test(gone.title) &&
            odd.classList.contains('warning') && !odd.classList.contains('error') && /warning: .*colour masks/.test(odd.title);
   }},
  {task: 'the read budget shows the bytes, the times and the three largest files, with the warning over budget',
   script: '[BEGIN]\r\nTITLE=t\r\nINTROBITMAP=BIG.BMP\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,NO,PUSH1.BMP\r\n' +
           'BUTTON2=PUSHBUTTON,20,60,0,0,NORMAL,NO,EXIT.BMP\r\n',
   files: {'BIG.BMP': bitmap(480, 500, 24)}, steps: [], readBudgetAsCheck: true,
   page: () => {
     const texts = (selector) => [...document.querySelectorAll(`#read-budget ${selector}`)].map((element) => element.textContent);
     // The demo disc holds the program's files where the Wine route built them.
     const largest = texts('.read-largest li');
     return largest.length === 3 && largest[0] === 'BIG.BMP 704 KB' &&
            /reads [\d,]+ bytes: \d\.\d\d s at 1x, 1\.\d\d s at 4x/.test(texts('.read-note')[0]) &&
            texts('.read-warning')[0].includes(`over the budget of 1.00 s (--read-budget MS); the largest files: ${largest.join(', ')}`);
   }},
  {task: 'a script within the read budget shows no warning', script: SMALL, steps: [],
   page: () => document.querySelectorAll('#read-budget .read-note').length === 1 && !document.querySelector('#read-budget .read-warning')},
  {task: 'a text written after the button that names it is moved where the reader needs it, byte for byte', script: LATE_TEXT,
   steps: [click('#findings [data-action="move-text"]'), until(() => !document.querySelector('#findings li.error'))],
   saved: /^\[BEGIN\]\r\nTITLE=t\r\n\[TEXT\]\r\nText1 = Go,0,7 \r\n\[BUTTON\]\r\nBUTTON1=PUSHBUTTON,20,20,100,24,NORMAL,NO, ,1\r\n\[TEXT\]\r\n$/,
   checkPasses: true},
  {task: 'the move from the text\'s own panel is one step to undo', script: LATE_TEXT,
   steps: [pick('TEXT1'), click('#panel [data-action="move-text"]'),
           until(() => state.model.entries.find((e) => e.name === 'TEXT').line < state.model.entries.find((e) => e.name === 'BUTTON').line),
           click('[data-action="undo"]')],
   saved: new RegExp(`^${LATE_TEXT.replace(/[[\]]/g, '\\$&')}$`)},
  {task: 'dragging a button takes along the caption the program places beside it',
   script: SMALL.replace('NO, ,1', 'NO,PUSH1.BMP,1'),
   steps: [(page) => page.evaluate(() => { window.captionWas = document.querySelector('[data-entry="TEXT1"]').offsetLeft; }),
           (page) => act(page, () => dragBy(page, 'BUTTON1', 30, 0))],
   page: () => document.querySelector('[data-entry="BUTTON1"]').style.left === '50px' &&
               document.querySelector('[data-entry="TEXT1"]').offsetLeft === window.captionWas + 30},
];

// The page's read budget in the words `check` prints.
async function readBudgetAsCheck(task, page, folder) {
  const said = spawnSync(tool, ['check', folder], {encoding: 'utf8'}).stdout;
  const shown = await page.$$eval('#read-budget .read-note, #read-budget .read-warning',
                                  (parts) => parts.map((part) => part.textContent.replace(/^warning: /, '')));
  check(`${task.task}: as check says it`, shown.length === 2 && shown.every((text) => said.includes(`: ${text} [read-budget]`)),
        `${JSON.stringify(shown)} vs ${said}`);
}

async function authorTasks(browser) {
  for (const task of AUTHOR_TASKS) {
    const folder = discWith(task.script);
    for (const [name, bytes] of Object.entries(task.files || {})) fs.writeFileSync(path.join(folder, name), bytes);
    const server = await startDesigner(folder);
    const page = await openPage(browser, server);
    try {
      await page.evaluate(PAGE_HELPERS);
      for (const step of task.steps) await step(page);
      if (task.page) check(`${task.task}: the page`, await page.evaluate(task.page));
      if (task.readBudgetAsCheck) await readBudgetAsCheck(task, page, folder);
      if (task.saved) {
        // (A refusal left standing keeps the status a problem until the save's answer.)
        await click('[data-action="save"]')(page);
        const status = await page.$eval('#status', (element) => element.textContent);
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
// DESIGNER_ONLY=name runs one of these alone.
const ALONE = {requestCases, refusals, slowClients, outsideWriteDuringSave, twoPages: () => twoPages(browser), addDeleteAndEdit: () => addDeleteAndEdit(browser),
               diskChangeKeepsEdits: () => diskChangeKeepsEdits(browser), diskChangeConflicts: () => diskChangeConflicts(browser),
               pageShowsTheFileOnDisk: () => pageShowsTheFileOnDisk(browser), authorTasks: () => authorTasks(browser)};
try {
  if (process.env.DESIGNER_ONLY) await ALONE[process.env.DESIGNER_ONLY]();
  else await everything();
} catch (error) {
  ++failed;
  console.log(`FAIL: ${error.stack}`);
} finally {
  await browser.close();
  for (const child of children) child.kill('SIGTERM');
}
console.log(`designer: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

async function everything() {
  await backgroundIsDrawn(browser);
  const moved = await dragAndSave(browser);
  if (process.env.DESIGNER_MOVED_DISC) fs.writeFileSync(process.env.DESIGNER_MOVED_DISC, moved);
  await openAndSaveKeepsBytes(browser);
  await utf8MarkStays(browser);
  await refusals();
  await requestCases();
  await slowClients();
  await outsideWriteDuringSave();
  await twoPages(browser);
  await addDeleteAndEdit(browser);
  await changedOnDiskIsKept(browser);
  await diskChangeKeepsEdits(browser);
  await diskChangeConflicts(browser);
  await pageShowsTheFileOnDisk(browser);
  await broughtPictures(browser);
  await authorTasks(browser);
}
