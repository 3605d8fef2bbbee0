// How fast discscreen try is for the demo disc, in the system's chromium:
// node try_bench.mjs DISCSCREEN DEMO_DISC
// From starting the run to the program's first painted screen in the page,
// and from a pointer move onto a button to its highlight shown in the page.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const [tool, disc] = process.argv.slice(2);
const RUNS = 3;
const MOVES = 5;
const bitmap = fs.readFileSync(path.join(disc, 'BACK.BMP'));
const left = Math.floor((1024 - bitmap.readInt32LE(18)) / 2);
const top = Math.floor((768 - Math.abs(bitmap.readInt32LE(22))) / 2);
// The demo's "Licence terms" and "Online registration" buttons (the last
// one hovered stays highlighted), and a point of the screen off them.
const buttons = [{x: left + 55, y: top + 207}, {x: left + 55, y: top + 253}];
const away = {x: left + 600, y: top + 20};

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Resolves once the canvas pixel at x, y satisfies `test` (run in the page).
function pixelBecomes(page, x, y, test) {
  return page.waitForFunction((x, y, test) => {
    const canvas = document.querySelector('#screen canvas');
    if (!canvas || canvas.width < 2) return false;
    const [r, g, b] = canvas.getContext('2d').getImageData(x, y, 1, 1).data;
    return new Function('r', 'g', 'b', `return ${test}`)(r, g, b) ? [r, g, b].join(',') : false;
  }, {polling: 10, timeout: 120000}, x, y, test).then((handle) => handle.jsonValue());
}

const browser = await puppeteer.launch({executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: 'new',
  args: process.getuid() === 0 ? ['--no-sandbox'] : []});
const firstScreens = [];
const highlights = [];
try {
  for (let run = 0; run < RUNS; ++run) {
    const start = performance.now();
    const child = spawn(tool, ['try', disc, '--no-browser'], {stdio: ['ignore', 'pipe', 'ignore']});
    const exited = new Promise((resolve) => child.once('exit', resolve));
    const url = await new Promise((resolve) => readline.createInterface({input: child.stdout}).once('line', resolve));
    const page = await browser.newPage();
    await page.setViewport({width: 1500, height: 900});
    await page.goto(url);
    await pixelBecomes(page, away.x, away.y, 'r + g + b > 0');
    firstScreens.push(performance.now() - start);
    if (run === 0) {
      const box = await page.$eval('#screen canvas', (canvas) => { const r = canvas.getBoundingClientRect(); return [r.x, r.y]; });
      await new Promise((resolve) => setTimeout(resolve, 2000));  // the intro settles
      for (let move = 0; move < MOVES; ++move) {
        const button = buttons[move % 2];
        const rest = await pixelBecomes(page, button.x, button.y, 'true');
        const moved = performance.now();
        await page.mouse.move(box[0] + button.x, box[1] + button.y);
        await pixelBecomes(page, button.x, button.y, `[r, g, b].join(',') !== '${rest}'`);
        highlights.push(performance.now() - moved);
        await new Promise((resolve) => setTimeout(resolve, 1000));
      }
    }
    await page.click('#end');
    await exited;
    await page.close();
  }
} finally {
  await browser.close();
}
console.log(`try, demo disc: run start to the first painted screen in the page ${Math.round(median(firstScreens))} ms median of ${RUNS} (budget 5000 ms)`);
console.log(`try, demo disc: pointer move onto a button to its highlight in the page ${Math.round(median(highlights))} ms median of ${MOVES}`);
