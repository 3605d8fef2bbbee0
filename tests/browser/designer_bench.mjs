// How long the designer page takes until it can be used, for the demo disc:
// node designer_bench.mjs DISCSCREEN DEMO_DISC
import {spawn} from 'node:child_process';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const [tool, disc] = process.argv.slice(2);
const child = spawn(tool, ['design', disc, '--no-browser'], {stdio: ['ignore', 'pipe', 'inherit']});
const url = await new Promise((resolve) => readline.createInterface({input: child.stdout}).once('line', resolve));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: process.getuid() === 0 ? ['--no-sandbox'] : [], protocolTimeout: 700000});
const times = [];
try {
  for (let run = 0; run < 5; ++run) {
    const page = await browser.newPage();
    const start = performance.now();
    await page.goto(url);
    await page.waitForSelector('body[data-ready="yes"]', {timeout: 60000});
    times.push(performance.now() - start);
    await page.close();
  }
  times.sort((a, b) => a - b);
  console.log(`designer page interactive, demo disc: ${Math.round(times[2])} ms median of 5 (budget 1000 ms)`);
  // The drawing against the program under Wine.
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="yes"]', {timeout: 60000});
  await page.click('[data-action="preview"]');
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                   document.body.dataset.status === 'problem', {timeout: 600000});
  const [difference, inside] = await page.$eval('#truth', (figure) => [figure.dataset.difference, figure.dataset.insideTexts]);
  console.log(difference === undefined
      ? `designer drawing against Wine: no preview (${await page.$eval('#status', (s) => s.textContent)})`
      : `designer drawing against Wine, demo disc: ${(Number(difference) * 100).toFixed(2)}% of the pixels outside texts differ (budget 1%), ` +
        `${(Number(inside) * 100).toFixed(2)}% inside text rectangles (budget 5%)`);
} finally {
  await browser.close();
  child.kill('SIGTERM');
}
