// discscreen try in the system's chromium:
//   node try_test.mjs DISCSCREEN DEMO_DISC CHAIN_DISC RESTART_DISC
// Prints "try: N passed, M failed" and exits 1 on a failure.
import {spawn, execFileSync} from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const [tool, demoDisc, chainDisc, restartDisc] = process.argv.slice(2);
const BOUND = 90000;  // a shared, loaded machine: events are waited for this long at most
let passed = 0;
let failed = 0;

function check(what, ok, detail = '') {
  if (ok) ++passed;
  else { ++failed; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

function digest(folder) {
  const hash = crypto.createHash('sha256');
  for (const name of fs.readdirSync(folder, {recursive: true}).sort()) {
    const file = path.join(folder, name);
    if (fs.statSync(file).isFile()) hash.update(name).update(fs.readFileSync(file));
  }
  return hash.digest('hex');
}

// Starts a run; resolves once its address is printed. Its later lines
// (the log, the end) are kept in run.said.
function startTry(disc) {
  const child = spawn(tool, ['try', disc, '--no-browser'], {stdio: ['ignore', 'pipe', 'pipe']});
  const run = {child, said: '', exited: new Promise((resolve) => child.once('exit', resolve))};
  child.stderr.on('data', (chunk) => { run.said += chunk; });
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('no address from discscreen try')), BOUND);
    const lines = readline.createInterface({input: child.stdout});
    lines.on('line', (line) => {
      run.said += line + '\n';
      if (run.url) return;
      clearTimeout(timer);
      const url = new URL(line);
      Object.assign(run, {url: line, port: Number(url.port), token: url.searchParams.get('token')});
      resolve(run);
    });
    child.once('exit', (code) => reject(new Error(`discscreen try ended with ${code}: ${run.said}`)));
  });
}

async function openRun(browser, disc) {
  const run = await startTry(disc);
  const page = await browser.newPage();
  await page.setViewport({width: 1500, height: 900});
  run.sounds = [];
  page.on('response', (response) => {
    if (response.url().includes('/sound?')) run.sounds.push(response.status());
  });
  await page.goto(run.url);
  run.page = page;
  return run;
}

// Ends the run from its page, as the author does; true once the tool is
// gone within the bound, with its run folder.
async function endRun(run) {
  await run.page.click('#end');
  const code = await Promise.race([run.exited, new Promise((resolve) => setTimeout(() => resolve('running'), BOUND))]);
  await run.page.close();
  return code;
}

// The log entries shown on the page, waiting until `wanted` holds for them.
async function logWhere(page, wanted, what) {
  const read = () => page.$$eval('#log li', (items) => items.map((item) => JSON.parse(item.dataset.entry)));
  const end = Date.now() + BOUND;
  let entries = [];
  while (Date.now() < end) {
    entries = await read();
    if (wanted(entries)) return entries;
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  check(what, false, `log: ${entries.map((entry) => entry.text).join(' | ')}`);
  return entries;
}

// A pixel of the page's display, as drawn into noVNC's canvas.
async function pixelAt(page, x, y) {
  return page.$eval('#screen canvas', (canvas, x, y) => Array.from(canvas.getContext('2d').getImageData(x, y, 1, 1).data), x, y);
}

// The screen's window lies centred on the 1024x768 display; a point of
// its client area in page coordinates.
async function screenPoint(page, disc, x, y) {
  const bitmap = fs.readFileSync(path.join(disc, 'BACK.BMP'));
  const left = Math.floor((1024 - bitmap.readInt32LE(18)) / 2);
  const top = Math.floor((768 - Math.abs(bitmap.readInt32LE(22))) / 2);
  const box = await page.$eval('#screen canvas', (canvas) => { const r = canvas.getBoundingClientRect(); return [r.x, r.y]; });
  return {x: box[0] + left + x, y: box[1] + top + y, canvasX: left + x, canvasY: top + y};
}

// True once the screen's window shows in the page at its client point x, y.
async function painted(page, disc, x, y) {
  await page.waitForSelector('body[data-stream="connected"]', {timeout: BOUND});
  const point = await screenPoint(page, disc, x, y);
  const end = Date.now() + BOUND;
  while (Date.now() < end) {
    const pixel = await pixelAt(page, point.canvasX, point.canvasY);
    if (pixel[0] + pixel[1] + pixel[2] > 0) return true;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return false;
}

async function clickScreen(page, disc, x, y) {
  const point = await screenPoint(page, disc, x, y);
  await page.mouse.move(point.x - 4, point.y - 4);
  await page.mouse.move(point.x, point.y);
  await page.mouse.click(point.x, point.y);
}

function nothingLeft(run) {
  const left = execFileSync('ps', ['-eo', 'args'], {encoding: 'utf8'}).split('\n')
    .filter((line) => line.includes(run.workFolder ?? '\u0000'));
  return left.length === 0;
}

function upgrade(port, headers, pathName) {
  return new Promise((resolve) => {
    const request = http.request({host: '127.0.0.1', port, path: pathName, headers: {
      Connection: 'Upgrade', Upgrade: 'websocket', 'Sec-WebSocket-Version': '13',
      'Sec-WebSocket-Key': 'dGhlIHNhbXBsZSBub25jZQ==', ...headers}});
    request.on('upgrade', (response, socket) => { socket.destroy(); resolve(101); });
    request.on('response', (response) => { response.resume(); resolve(response.statusCode); });
    request.on('error', () => resolve('closed'));
    request.setTimeout(5000, () => { request.destroy(); resolve('closed'); });
    request.end();
  });
}

function plainGet(port, pathName, headers = {}) {
  return new Promise((resolve) => {
    http.get({host: '127.0.0.1', port, path: pathName, headers}, (response) => {
      response.resume();
      resolve(response.statusCode);
    }).on('error', () => resolve('closed'));
  });
}

const started = (entries, name) => entries.find((entry) => entry.kind === 'start' && entry.command.includes(name));
const exited = (entries, name) => entries.find((entry) => entry.kind === 'exit' && entry.program === name);

const cases = [
  {name: 'the demo disc runs live, its sounds play on the page, the run ends leaving nothing', disc: demoDisc, async run(run) {
    check('the program\'s screen is painted in the page', await painted(run.page, demoDisc, 300, 40));
    await logWhere(run.page, (entries) => entries.some((entry) => entry.kind === 'sound' && /INTRO\.WAV$/.test(entry.file)),
      'the intro sound is logged');
    check('the page fetched the sound file', run.sounds.some((status) => status === 200 || status === 206), `answers ${run.sounds}`);
  }},
  {name: 'a document button starts the document\'s program', disc: demoDisc, async run(run) {
    check('the screen shows', await painted(run.page, demoDisc, 300, 40));
    await logWhere(run.page, (entries) => entries.some((entry) => entry.kind === 'sound'), 'the screen is up');
    await clickScreen(run.page, demoDisc, 45, 151);
    const entries = await logWhere(run.page, (entries) => started(entries, 'README.TXT'), 'the document\'s program is logged');
    const start = started(entries, 'README.TXT') ?? {};
    check('as a document with its program', start.how.startsWith('document') && /notepad\.exe/i.test(start.command), JSON.stringify(start));
  }},
  {name: 'the chain of two installers runs in order with their exit codes', disc: chainDisc, async run(run) {
    check('the screen shows', await painted(run.page, chainDisc, 300, 40));
    await clickScreen(run.page, chainDisc, 50, 412);
    const entries = await logWhere(run.page, (entries) => exited(entries, 'SECOND.EXE'), 'the second installer ends');
    const first = entries.indexOf(started(entries, 'FIRST.EXE'));
    const second = entries.indexOf(started(entries, 'SECOND.EXE'));
    check('both start, the first before the second', first >= 0 && second > first, `${first} ${second}`);
    check('the first could not overwrite a file of D: (exit code 7)', exited(entries, 'FIRST.EXE')?.code === 7,
      JSON.stringify(exited(entries, 'FIRST.EXE')));
    check('the second\'s exit code ends a wait', exited(entries, 'SECOND.EXE')?.code === 9 && exited(entries, 'SECOND.EXE')?.waited === true,
      JSON.stringify(exited(entries, 'SECOND.EXE')));
  }},
  {name: 'a restart in the chain ends the session and the chain resumes', disc: restartDisc, async run(run) {
    const entries = await logWhere(run.page, (entries) => exited(entries, 'SECOND.EXE'), 'the member after the restart ends');
    const order = ['restart', 'value-written', 'resume-written'].map((kind) => entries.findIndex((entry) => entry.kind === kind));
    check('the restart request, then the run-once value and the resume script', order.every((at) => at >= 0) && order[0] < order[2], `${order}`);
    check('the session ends', entries.some((entry) => entry.kind === 'end-session' && entry.ends === true));
    const script = entries.find((entry) => entry.kind === 'resume-written')?.path ?? '\u0000';
    const resumed = entries.find((entry) => entry.kind === 'start' && entry.command.includes(script));
    check('Windows\' run-once processing starts the screen on the resume script', resumed?.by === 'wineboot.exe', JSON.stringify(resumed));
    check('the resumed screen runs the second member', entries.indexOf(started(entries, 'SECOND.EXE')) > entries.indexOf(resumed));
    await logWhere(run.page, (entries) => entries.some((entry) => entry.kind === 'resume-withdrawn'), 'the resume script is gone after the resume');
  }},
  {name: 'a foreign Host and a missing token are refused, on the stream too', disc: demoDisc, async run(run) {
    const settings = fs.readFileSync(path.join(run.workFolder, 'stream.conf'), 'utf8').split('\n');
    const stream = Number(settings[2]);
    const origin = `http://127.0.0.1:${run.port}`;
    const streamPath = `/websockify?token=${run.token}`;
    const table = [
      ['the page without the token', await plainGet(run.port, '/'), 403],
      ['the page for a foreign Host', await plainGet(run.port, `/?token=${run.token}`, {Host: `example.com:${run.port}`}), 403],
      ['the stream with the token, Host and Origin', await upgrade(stream, {Origin: origin}, streamPath), 101],
      ['the stream without the token', await upgrade(stream, {Origin: origin}, '/websockify'), 'closed'],
      ['the stream with another token', await upgrade(stream, {Origin: origin}, '/websockify?token=0123'), 'closed'],
      ['the stream for a foreign Host', await upgrade(stream, {Origin: origin, Host: `example.com:${stream}`}, streamPath), 403],
      ['the stream from a foreign page', await upgrade(stream, {Origin: 'http://example.com'}, streamPath), 403],
    ];
    for (const [what, got, expected] of table) check(what, got === expected, `got ${got}, expected ${expected}`);
  }},
];

// The designer's "Try" opens the try page of the same disc, live; the run
// ends with the designer.
async function designerTry(browser) {
  console.log('-- the designer\'s Try opens the try page for its disc');
  const designer = spawn(tool, ['design', demoDisc, '--no-browser'], {stdio: ['ignore', 'pipe', 'inherit']});
  const exited = new Promise((resolve) => designer.once('exit', resolve));
  const url = await new Promise((resolve) => readline.createInterface({input: designer.stdout}).once('line', resolve));
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="yes"]', {timeout: BOUND});
  const opened = browser.waitForTarget((target) => /\/\?token=/.test(target.url()) && target.url() !== url, {timeout: BOUND});
  await page.click('[data-action="try"]');
  const tryPage = await (await opened).page();
  const connected = await tryPage.waitForSelector('body[data-stream="connected"]', {timeout: BOUND}).then(() => true, () => false);
  check('the try page shows the run live', connected);
  check('it is the designer\'s disc', await painted(tryPage, demoDisc, 300, 40));
  designer.kill('SIGTERM');
  await Promise.race([exited, new Promise((resolve) => setTimeout(resolve, BOUND))]);
  const left = execFileSync('ps', ['-eo', 'args'], {encoding: 'utf8'}).split('\n')
    .filter((line) => line.includes(`try ${demoDisc}`));
  check('the designer\'s run ends with it', left.length === 0, left.join(' | '));
  await tryPage.close();
  await page.close();
}

const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: 'new',
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required']});
try {
  for (const testCase of cases) {
    // makensis makes 32-bit installers, which 64-bit Wine alone cannot start.
    if (process.env.TRY_NO_32BIT_INSTALLERS && testCase.disc !== demoDisc) {
      console.log(`left out: ${testCase.name}: its installers are 32-bit and this Wine runs 64-bit programs only`);
      continue;
    }
    console.log(`-- ${testCase.name}`);
    const before = digest(testCase.disc);
    const run = await openRun(browser, testCase.disc);
    run.workFolder = fs.readdirSync('/tmp').filter((name) => name.startsWith('discscreen-try-'))
      .map((name) => path.join('/tmp', name)).find((folder) => fs.existsSync(path.join(folder, 'stream.conf')) &&
        fs.readFileSync(path.join(folder, 'stream.conf'), 'utf8').startsWith(run.token));
    try {
      await testCase.run(run);
    } catch (error) {
      check(testCase.name, false, error.message);
    }
    const code = await endRun(run);
    check('the run ends with its page', code === 0, `exit ${code}: ${run.said.split('\n').slice(-3).join(' | ')}`);
    check('the disc folder is unchanged', digest(testCase.disc) === before && /folder is unchanged/.test(run.said));
    check('nothing of the run is left running or on disk', nothingLeft(run) && !fs.existsSync(run.workFolder ?? '/'));
  }
  await designerTry(browser);
} finally {
  await browser.close();
}
console.log(`try: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
