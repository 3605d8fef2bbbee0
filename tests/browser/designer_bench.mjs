// How the designer page answers an author, for the demo disc:
// node designer_bench.mjs DISCSCREEN DEMO_DISC
// - the time from the page's navigation to its first drawing it can be used
//   in (the page's own 'designer-ready' mark), median of 5 loads;
// - each step of a drag: the time from the pointer event to the animation
//   frame that shows the step, 95th percentile of 120 steps;
// - the drawing against the program under Wine.
// Exits 1 when it measured nothing.
import {spawn} from 'node:child_process';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const READY_BUDGET_MS = 300;
const FRAME_MS = 1000 / 60;

const [tool, disc] = process.argv.slice(2);
const child = spawn(tool, ['design', disc, '--no-browser'], {stdio: ['ignore', 'pipe', 'inherit']});
const url = await new Promise((resolve) => readline.createInterface({input: child.stdout}).once('line', resolve));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: process.getuid() === 0 ? ['--no-sandbox'] : [], protocolTimeout: 700000});

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const percentile = (values, share) => [...values].sort((a, b) => a - b)[Math.ceil(values.length * share) - 1];

async function openedPage() {
  const page = await browser.newPage();
  await page.setViewport({width: 1400, height: 900});
  await page.goto(url);
  await page.waitForSelector('body[data-ready="yes"]', {timeout: 60000});
  return page;
}

async function readyTimes() {
  const times = [];
  for (let run = 0; run < 5; ++run) {
    const page = await openedPage();
    times.push(await page.evaluate(() => performance.getEntriesByName('designer-ready')[0].startTime));
    await page.close();
  }
  return times;
}

// Each pointer move of a drag, and the frame after its handlers ran: the
// step is drawn in that frame, so the gap is the step's wait to be seen.
async function dragSteps(page) {
  await page.evaluate(() => {
    window.benchSteps = [];
    window.addEventListener('pointermove', (event) => {
      if (!event.buttons) return;
      const item = document.querySelector('[data-entry="BUTTON1"]');
      const left = item && item.style.left;
      requestAnimationFrame((frame) => window.benchSteps.push({wait: frame - event.timeStamp, moved: left}));
    });
  });
  const box = await (await page.$('[data-entry="BUTTON1"]')).boundingBox();
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let step = 1; step <= 120; ++step) await page.mouse.move(x + (step % 40), y + Math.floor(step / 40));
  await page.mouse.up();
  await page.waitForFunction(() => document.body.dataset.pending === '0');
  return page.evaluate(() => window.benchSteps);
}

let measured = 0;
try {
  const ready = await readyTimes();
  console.log(`designer page interactive, demo disc: ${Math.round(median(ready))} ms median of 5 ` +
              `(${ready.map(Math.round).join(', ')}; budget ${READY_BUDGET_MS} ms)`);
  measured += ready.length;

  // The drawing against the program under Wine, before the drag changes it.
  const page = await openedPage();
  await page.click('[data-action="preview"]');
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'previewed' ||
                                   document.body.dataset.status === 'problem', {timeout: 600000});
  const [difference, inside] = await page.$eval('#truth', (figure) => [figure.dataset.difference, figure.dataset.insideTexts]);
  console.log(difference === undefined
      ? `designer drawing against Wine: no preview (${await page.$eval('#status', (s) => s.textContent)})`
      : `designer drawing against Wine, demo disc: ${(Number(difference) * 100).toFixed(2)}% of the pixels outside texts differ (budget 1%), ` +
        `${(Number(inside) * 100).toFixed(2)}% inside text rectangles (budget 5%)`);

  const steps = await dragSteps(page);
  const waits = steps.map((step) => step.wait);
  const unmoved = new Set(steps.map((step) => step.moved)).size < 2;
  if (steps.length && !unmoved) {
    console.log(`designer drag, demo disc: ${steps.length} steps, the frame after a step comes ` +
                `${percentile(waits, 0.95).toFixed(1)} ms after its pointer event (95th percentile; ` +
                `budget one frame, ${FRAME_MS.toFixed(1)} ms)`);
    measured += steps.length;
  } else {
    console.log(`designer drag: ${steps.length} steps seen, and the button ${unmoved ? 'did not move' : 'moved'}`);
  }
} finally {
  await browser.close();
  child.kill('SIGTERM');
}
process.exit(measured ? 0 : 1);
