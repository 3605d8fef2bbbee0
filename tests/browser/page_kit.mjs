// Shared by the page tests: a designer on a copy of a disc, the page opened
// in the system's chromium, and the count of passed and failed checks.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

export const BOUND = 60000;  // a shared, loaded machine: events are waited for this long at most
export const counts = {passed: 0, failed: 0};

export function check(what, ok, detail = '') {
  if (ok) ++counts.passed;
  else { ++counts.failed; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

// Runs work(page, folder) on a designer of a copy of the disc, with the
// script (LF line ends become CR LF; a Buffer is written as it is) in place
// of its own unless null.
export async function withDesigner(browser, tool, disc, script, work) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'page-disc-'));
  fs.cpSync(disc, folder, {recursive: true});
  if (script) fs.writeFileSync(path.join(folder, 'AUTORUN.INF'), Buffer.isBuffer(script) ? script : script.replace(/\n/g, '\r\n'));
  const child = spawn(tool, ['design', folder, '--no-browser'], {stdio: ['ignore', 'pipe', 'inherit']});
  const page = await browser.newPage();
  try {
    const url = await new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('no URL from the designer')), BOUND);
      readline.createInterface({input: child.stdout}).once('line', (line) => { clearTimeout(timer); resolve(line); });
      child.once('exit', (code) => reject(new Error(`designer ended with ${code}`)));
    });
    page.setDefaultTimeout(BOUND);
    page.on('dialog', (dialog) => dialog.dismiss());
    await page.goto(url);
    await page.waitForSelector('body[data-ready="yes"]');
    return await work(page, folder);
  } finally {
    await page.close();
    if (child.exitCode === null) await new Promise((resolve) => { child.once('exit', resolve); child.kill('SIGTERM'); });
    fs.rmSync(folder, {recursive: true, force: true});
  }
}

// Runs the suites in turn in one browser and exits 1 on a failure.
export async function runSuites(name, suites) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
    protocolTimeout: 700000});  // the first Wine preview makes its prefix
  try {
    for (const suite of suites) await suite(browser);
  } catch (error) {
    ++counts.failed;
    console.log(`FAIL: ${error.stack}`);
  } finally {
    await browser.close();
  }
  console.log(`${name}: ${counts.passed} passed, ${counts.failed} failed`);
  process.exit(counts.failed ? 1 : 0);
}
