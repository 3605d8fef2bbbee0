// The designer's keys and alignment on the demo disc: node keyboard_test.mjs DISCSCREEN DEMO_DISC
// Prints "keyboard: N passed, M failed" and exits 1 on a failure.
import fs from 'node:fs';
import path from 'node:path';
import {check, runSuites, withDesigner} from './page_kit.mjs';

const [tool, demoDisc] = process.argv.slice(2);

const buttonAt = (page, number) => page.evaluate((n) => {
  const button = state.model.buttons.find((b) => b.number === n);
  return button ? [button.x, button.y, button.width, button.height] : null;
}, number);
const settled = (page, test, ...args) => page.waitForFunction(test, {}, ...args).then(() => true, () => false);

// Runs the action and waits for the page to read the script back.
async function readBack(page, action) {
  await page.evaluate(() => { window.modelBefore = state.model; });
  await action();
  return settled(page, () => state.model !== window.modelBefore);
}

async function clickItems(page, keys) {
  await page.click(`[data-entry="${keys[0]}"]`);
  await page.keyboard.down('Shift');
  for (const key of keys.slice(1)) await page.click(`[data-entry="${key}"]`);
  await page.keyboard.up('Shift');
}

// Each case: the items clicked (Shift held after the first), the keys
// pressed (each change read back before the next key unless still), and
// what must then hold.
const KEY_CASES = [
  {name: 'Tab selects the next item drawn: the button\'s caption', click: ['BUTTON1'], keys: ['Tab'], still: true,
   holds: (page) => settled(page, () => state.selected === 'TEXT1')},
  {name: 'Shift+Tab from the first item selects the last', click: ['BUTTON1'], keys: ['Shift+Tab'], still: true,
   holds: (page) => settled(page, () => state.selected === 'TEXT18')},
  {name: 'an arrow moves by one pixel', click: ['BUTTON1'], keys: ['ArrowRight'],
   holds: (page) => settled(page, () => state.model.buttons[0].x === 41)},
  {name: 'Shift and an arrow move by ten, all selected items', click: ['BUTTON1', 'BUTTON2'], keys: ['Shift+ArrowDown'],
   holds: (page) => settled(page, () => state.model.buttons[0].y === 156 && state.model.buttons[1].y === 202)},
  {name: 'Delete deletes the selected button', click: ['BUTTON2'], keys: ['Delete'],
   holds: (page) => settled(page, () => !state.model.buttons.some((b) => b.number === 2))},
  {name: 'Ctrl+Z brings it back, Ctrl+Y deletes it again', click: ['BUTTON2'], keys: ['Delete', 'Control+z', 'Control+y'],
   holds: (page) => settled(page, () => state.redo.length === 0 && state.undo.length === 1 &&
                                        !state.model.buttons.some((b) => b.number === 2))},
  {name: 'Ctrl+S saves', click: ['BUTTON1'], keys: ['ArrowLeft', 'Control+s'],
   holds: async (page, folder) => (await settled(page, () => document.querySelector('#status').textContent === 'saved')) &&
       /BUTTON1=PUSHBUTTON,39,146,/.test(fs.readFileSync(path.join(folder, 'AUTORUN.INF'), 'latin1'))},
  {name: 'an arrow typed into a field stays the field\'s', click: ['BUTTON1'], keys: ['focus-field', 'ArrowRight', 'Tab'], still: true,
   holds: (page) => page.evaluate(() => state.model.buttons[0].x === 40 && state.undo.length === 0)},
  {name: 'on a 200 % display a drag moves by half the pointer\'s pixels, and an arrow by one', click: ['BUTTON1'],
   keys: ['display:192', 'drag:40,20', 'ArrowRight'],
   holds: (page) => settled(page, () => state.model.buttons[0].x === 61 && state.model.buttons[0].y === 156)},
];

async function press(page, key) {
  if (key === 'focus-field') return page.click('#panel .field[data-field="2"] input');
  if (key.startsWith('display:')) return page.select('[data-action="dpi"]', key.slice(8));
  if (key.startsWith('drag:')) {
    const [dx, dy] = key.slice(5).split(',').map(Number);
    const box = await (await page.$('[data-entry="BUTTON1"]')).boundingBox();
    await page.mouse.move(box.x + 5, box.y + 5);
    await page.mouse.down();
    await page.mouse.move(box.x + 5 + dx, box.y + 5 + dy, {steps: 4});
    return page.mouse.up();
  }
  const parts = key.split('+');
  for (const part of parts.slice(0, -1)) await page.keyboard.down(part);
  await page.keyboard.press(parts.at(-1));
  for (const part of parts.slice(0, -1).reverse()) await page.keyboard.up(part);
}

async function keys(browser) {
  for (const c of KEY_CASES) {
    const ok = await withDesigner(browser, tool, demoDisc, null, async (page, folder) => {
      await clickItems(page, c.click);
      for (const key of c.keys) await (c.still ? press(page, key) : readBack(page, () => press(page, key)));
      return c.holds(page, folder);
    });
    check(c.name, ok);
  }
}

const ALIGN_CASES = [
  {name: 'align left', items: ['BUTTON1', 'BUTTON4', 'BUTTON5'], action: 'align-left',
   holds: (places) => places.every(([x]) => x === 40)},
  {name: 'align top', items: ['BUTTON7', 'BUTTON8', 'BUTTON3'], action: 'align-top',
   holds: (places) => places.every(([, y]) => y === 238)},
  {name: 'same spacing keeps the ends and evens the gaps', items: ['BUTTON1', 'BUTTON3', 'BUTTON2', 'BUTTON4'], action: 'align-spacing',
   holds: (places) => {
     const gaps = places.slice(1).map(([, y], i) => y - (places[i][1] + places[i][3]));
     return places[0][1] === 146 && places[3][1] === 300 && Math.max(...gaps) - Math.min(...gaps) <= 1;
   }},
];

async function alignment(browser) {
  for (const c of ALIGN_CASES) {
    const places = await withDesigner(browser, tool, demoDisc, null, async (page) => {
      await clickItems(page, c.items);
      await readBack(page, () => page.click(`[data-action="${c.action}"]`));
      const numbers = c.items.map((key) => Number(key.slice(6))).sort((a, b) => a - b);
      return Promise.all(numbers.map((n) => buttonAt(page, n)));
    });
    check(c.name, c.holds(places), JSON.stringify(places));
  }
}

await runSuites('keyboard', [keys, alignment]);
