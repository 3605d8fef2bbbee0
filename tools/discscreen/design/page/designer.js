// The designer page: draws the screen from the server's reading of the
// script and keeps the author's edits as changes to lines and fields. The
// page never reads the script itself; every change is read back by the
// program's reader on the server.
'use strict';

const token = new URLSearchParams(location.search).get('token');
const LANGUAGES = ['en', 'de', 'fr', 'es', 'it', 'nl', 'sv', 'da', 'fi', 'nb', 'no', 'pt', 'pt-BR',
                   'ja', 'ko', 'zh-CN', 'zh-TW', 'th', 'el', 'ru', 'pl', 'cs', 'hu', 'tr'];
const WINDOWS = ['later', '95', '98', '98se', 'me', 'nt4', '2000', 'xp'];
const COLOURS = ['#000000', '#0000ff', '#00ff00', '#00ffff', '#ff0000', '#ff00ff', '#ffff00', '#ffffff',
                 '#000080', '#008000', '#008080', '#800000', '#800080', '#808000', '#808080', '#c0c0c0'];
const BUTTON_SECTIONS = ['[REFERENCE]', '[IGNOREWAITPROCESS]', '[INSTALLMESSAGE]', '[MESSAGE]', '[EXTRATEXT]'];
const KIND_CHECK_BOX = 3;

const state = {
  // base: the version of the script the edits are made on; the server
  // applies them to that text only, and saves only while it is on disk.
  lang: 'en', windows: 'later', dpi: 96, model: null, base: null, edits: emptyEdits(),
  selected: null, hovered: null, undo: [], redo: [],
  also: new Set(),  // further selected items (shift-click), for moving and aligning together
};

function emptyEdits() { return {fields: {}, deleted: [], added: []}; }
const $ = (selector) => document.querySelector(selector);

function setStatus(text, problem) {
  const status = $('#status');
  status.textContent = text;
  status.className = problem ? 'problem' : '';
  document.body.dataset.status = problem ? 'problem' : 'ok';
}

// The requests still out, on the body for whoever waits for the page.
let pending = 0;

async function post(path, body) {
  document.body.dataset.pending = String(++pending);
  try {
    const response = await fetch(path, {
      method: 'POST', headers: {'Content-Type': 'application/json', 'X-Discscreen-Token': token},
      body: JSON.stringify(body)});
    const answer = await response.json();
    if (!response.ok) throw Object.assign(new Error(answer.error || response.statusText), {status: response.status});
    return answer;
  } finally {
    document.body.dataset.pending = String(--pending);
  }
}

function request() {
  const made = {lang: state.lang, windows: state.windows, edits: state.edits};
  if (state.dpi !== 96) made.dpi = state.dpi;
  if (state.base) made.base = state.base;
  if (state.utf8) made.utf8 = true;
  return made;
}

function took(model) {
  state.model = model;
  state.base = model.version;
}

let refreshes = 0;  // an answer to an older refresh is not drawn over a newer one
// The changes sent and not yet read back: {fields: [[key, field]], takeBack, undo}.
let unconfirmed = [];

// `cause`: the change being read back; `asked`: the reading already asked
// for, else a new one of the edits.
async function refresh(cause, asked) {
  const mine = ++refreshes;
  if (cause) unconfirmed.push(cause);
  try {
    const model = await (asked || post('/api/model', request()));
    if (mine !== refreshes) return;
    took(model);
    settleRefusals(unconfirmed.splice(0));
    draw();
    if (!document.body.dataset.ready) {
      document.body.dataset.ready = 'yes';
      performance.mark('designer-ready');
    }
    if (state.model.stale) setStatus('the script was saved or reloaded from another page: reload before saving here', true);
    else if (!document.body.dataset.status) setStatus('');
  } catch (error) {
    if (mine !== refreshes) return;
    setStatus(error.message, true);
    // An ASCII script becomes UTF-8 only when the author says so.
    if (error.status === 422 && !state.utf8 && /"utf8": true/.test(error.message) &&
        window.confirm(`${error.message}\n\nSave this script as UTF-8 from now on?`)) {
      state.utf8 = true;
      refresh();
      return;
    }
    takeBackRefused(error.message);
  }
}

// A refused change is taken back, so that later changes are not refused for
// it, and its message stands beside the fields it was made in.
function takeBackRefused(message) {
  const causes = unconfirmed.splice(0);
  for (const cause of [...causes].reverse()) if (cause.takeBack) cause.takeBack();
  const fields = causes.flatMap((cause) => cause.fields || []);
  if (fields.length) refuseFields(fields, message);
}

// --- Entries and edits --------------------------------------------------

function entryOf(key) {
  if (!state.model || !key) return null;
  const match = /^(BUTTON|TEXT)(\d+)$/.exec(key);
  const used = state.model.entries.filter((entry) => entry.used);
  if (match) {
    const section = match[1] === 'BUTTON' ? '[BUTTON]' : '[TEXT]';
    const found = used.filter((entry) => entry.section === section && entry.name === match[1] &&
                                         entry.number === Number(match[2]));
    // A later button entry fills the same slot; the first text entry wins.
    return match[1] === 'BUTTON' ? found[found.length - 1] : found[0];
  }
  return used.find((entry) => entryKey(entry) === key) || null;
}

function entryKey(entry) {
  if (entry.section === '[BUTTON]' || entry.section === '[TEXT]') return entry.name + entry.number;
  return 'line' + entry.line;
}

function fieldText(entry, field) {
  const edits = editsOf(entry, false);
  if (edits && field in edits) return edits[field];
  if (field === 0) return entry.value;
  return entry.fields[field - 1] !== undefined ? entry.fields[field - 1] : '';
}

function editsOf(entry, make) {
  if (entry.origin > 0) {
    if (make && !state.edits.fields[entry.origin]) state.edits.fields[entry.origin] = {};
    return state.edits.fields[entry.origin];
  }
  const added = state.edits.added[-entry.origin - 1];
  if (added && make && !added.fields) added.fields = {};
  return added && added.fields;
}

function remember() {
  state.undo.push(JSON.stringify(state.edits));
  state.redo = [];
}

// A change to the edits as one step to undo, taken back whole when the
// server refuses it; `fields` are the [key, field] pairs it sets.
function changeEdits(fields, apply) {
  const before = {edits: JSON.stringify(state.edits), undo: state.undo.length, redo: state.redo,
                  selected: state.selected};
  remember();
  apply();
  refresh({fields, takeBack: () => {
    state.edits = JSON.parse(before.edits);
    state.undo.length = before.undo;
    state.redo = before.redo;
    state.selected = before.selected;
  }});
}

function setFields(entry, changes) {
  setManyFields([[entry, changes]]);
}

// Field changes of several entries as one step to undo.
function setManyFields(changes) {
  const fields = changes.flatMap(([entry, set]) => Object.keys(set).map((field) => [entryKey(entry), field]));
  changeEdits(fields, () => {
    for (const [entry, set] of changes) {
      const edits = editsOf(entry, true);
      for (const [field, text] of Object.entries(set)) edits[field] = String(text);
    }
  });
}

function stepBack(from, to) {
  if (!from.length) return;
  to.push(JSON.stringify(state.edits));
  state.edits = JSON.parse(from.pop());
  refresh({undo: true});
}

// --- Drawing ------------------------------------------------------------

function pictureUrl(path) {
  return `/picture?token=${token}&path=${encodeURIComponent(path)}`;
}

function frameOf(button, highlighted) {
  if (button.kind === KIND_CHECK_BOX) return (button.state === 1 ? 2 : 0) + (highlighted ? 1 : 0);
  if (button.state === 2) return 3;
  return highlighted ? 2 : 0;
}

function focusButton() {
  return state.model.buttons.find((button) => button.kind !== KIND_CHECK_BOX && button.state === 1);
}

function draw() {
  const model = state.model;
  const screen = $('#screen');
  screen.replaceChildren();
  screen.style.width = `${model.width || 640}px`;
  screen.style.height = `${model.height || 480}px`;
  showScale(screen);
  screen.style.backgroundImage = model.background ? `url("${pictureUrl(model.background)}")` : 'none';
  markPictureProblem(screen, model.background);
  screen.classList.toggle('outlines', $('[data-action="outlines"]').checked);
  const lit = state.hovered !== null ? state.hovered : (focusButton() || {}).number;
  const texts = new Map(model.texts.map((text) => [text.number, text]));
  const drawn = new Set();
  for (const button of model.buttons) {
    const highlighted = button.number === lit;
    // HIDE (-1) hides no button: the program draws it at rest. A button
    // without a picture is its hit area, which its caption gives.
    const place = button.width > 0 && button.height > 0 ? button : button.window;
    if (place && place.width > 0 && place.height > 0) drawButton(button, place, highlighted);
    for (const number of [button.caption, button.extraText]) {
      const text = texts.get(number);
      if (!text || drawn.has(number)) continue;
      drawn.add(number);
      drawText(text, highlighted);
    }
  }
  // Texts no button shows are only outlined, so that they can be picked.
  for (const text of model.texts) if (!drawn.has(text.number)) drawText(text, false, true);
  markFaultsOnItems();
  drawLists();
  drawReadBudget();
  drawPanel();
}

function drawButton(button, place, highlighted) {
  const element = item('BUTTON' + button.number, place, 'button');
  if (element.classList.contains('selected')) element.appendChild(resizeHandle(element.dataset.entry, element));
  if (button.picture) {
    element.style.backgroundImage = `url("${pictureUrl(button.picture)}")`;
    element.style.backgroundPosition = `${-frameOf(button, highlighted) * button.width}px 0`;
    markPictureProblem(element, button.picture);
  }
  element.addEventListener('pointerenter', () => {
    if (!dragging && state.hovered !== button.number) { state.hovered = button.number; draw(); }
  });
  element.addEventListener('pointerleave', () => {
    if (!dragging && state.hovered === button.number) { state.hovered = null; draw(); }
  });
}

// The text as the program draws it (drawing.js); its words stay in the
// element, unseen, for finding and reading it.
function drawText(text, highlighted, unused) {
  const element = item('TEXT' + text.number, text, 'text');
  const look = unused ? {nothing: true} : paintText(element, text, highlighted);
  const shown = !look.nothing && look.colour !== null;
  element.textContent = shown ? text.text.replace(/\r\n/g, '\n') : '';
  if (element.classList.contains('selected')) element.appendChild(resizeHandle(element.dataset.entry, element));
  if (!shown) element.style.outline = $('[data-action="outlines"]').checked ? '1px dotted #999' : 'none';
}

function item(key, place, kind) {
  const element = document.createElement('div');
  element.className = `item ${kind}`;
  element.dataset.entry = key;
  element.style.left = `${place.x}px`;
  element.style.top = `${place.y}px`;
  element.style.width = `${Math.max(place.width, 1)}px`;
  element.style.height = `${Math.max(place.height, 1)}px`;
  if (key === state.selected || state.also.has(key)) element.classList.add('selected');
  element.addEventListener('pointerdown', (event) => startDrag(event, key, element));
  $('#screen').appendChild(element);
  return element;
}

function drawLists() {
  const list = $('#entries');
  list.replaceChildren();
  for (const entry of state.model.entries) {
    if (!entry.used || !['[BEGIN]', '[BUTTON]', '[TEXT]'].includes(entry.section)) continue;
    const row = document.createElement('li');
    row.textContent = `${entry.line}: ${entry.name}${entry.number || ''}=${fieldText(entry, 0)}`.slice(0, 90);
    row.dataset.key = entryKey(entry);
    if (row.dataset.key === state.selected) row.className = 'selected';
    row.addEventListener('click', () => select(row.dataset.key));
    list.appendChild(row);
  }
  drawFindingList();
}

function select(key) {
  state.selected = key;
  state.also.clear();
  draw();
}

// The selected items' keys, the first-selected first.
function selectedKeys() {
  return state.selected ? [state.selected, ...[...state.also].filter((key) => key !== state.selected)] : [];
}

// --- Moving -------------------------------------------------------------

// The corner of a selected text or button: dragging it sets the width and
// height of the text, or of the button's picture frame and hit area.
function resizeHandle(key, element) {
  const handle = document.createElement('div');
  handle.className = 'handle';
  handle.addEventListener('pointerdown', (event) => {
    event.stopPropagation();
    event.preventDefault();
    const start = {x: event.clientX, y: event.clientY, width: element.offsetWidth, height: element.offsetHeight};
    handle.setPointerCapture(event.pointerId);
    const move = (e) => {
      element.style.width = `${Math.max(1, start.width + Math.round((e.clientX - start.x) / screenScale()))}px`;
      element.style.height = `${Math.max(1, start.height + Math.round((e.clientY - start.y) / screenScale()))}px`;
    };
    handle.addEventListener('pointermove', move);
    handle.addEventListener('pointerup', () => {
      handle.removeEventListener('pointermove', move);
      const entry = entryOf(key);
      const [width, height] = key.startsWith('BUTTON') ? [4, 5] : [8, 9];
      if (entry) {
        setFields(entry, {[width]: parseInt(element.style.width, 10), [height]: parseInt(element.style.height, 10)});
      }
    }, {once: true});
  });
  return handle;
}

let dragging = null;

function positionFields(key) {
  return key.startsWith('BUTTON') ? [2, 3] : [6, 7];
}

function startDrag(event, key, element) {
  event.preventDefault();
  $('#screen').focus();  // the keys then go to the screen's items
  if (event.shiftKey && state.selected && state.selected !== key) {
    if (!state.also.delete(key)) state.also.add(key);
    draw();
    return;
  }
  if (state.selected !== key) {
    state.selected = key;
    state.also.clear();
    for (const other of document.querySelectorAll('#screen .selected')) other.classList.remove('selected');
    element.classList.add('selected');
    drawPanel();
  }
  const at = (moved) => ({element: moved, left: parseInt(moved.style.left, 10), top: parseInt(moved.style.top, 10)});
  dragging = {key, startX: event.clientX, startY: event.clientY, dx: 0, dy: 0,
              moved: [at(element), ...followingTexts(key).map(at)]};
  dragging.element = element;
  element.setPointerCapture(event.pointerId);
  element.addEventListener('pointermove', moveDrag);
  element.addEventListener('pointerup', endDrag, {once: true});
}

function moveDrag(event) {
  if (!dragging) return;
  dragging.dx = Math.round((event.clientX - dragging.startX) / screenScale());
  dragging.dy = Math.round((event.clientY - dragging.startY) / screenScale());
  for (const moved of dragging.moved) {
    moved.element.style.left = `${moved.left + dragging.dx}px`;
    moved.element.style.top = `${moved.top + dragging.dy}px`;
  }
}

function endDrag() {
  const drag = dragging;
  drag.element.removeEventListener('pointermove', moveDrag);
  dragging = null;
  if (drag.dx || drag.dy) moveBy(drag.key, drag.dx, drag.dy);
  else draw();
}

function placeOf(key) {
  const entry = entryOf(key);
  if (!entry) return null;
  return (key.startsWith('BUTTON') ? state.model.buttons : state.model.texts)
      .find((thing) => thing.number === entry.number) || null;
}

// The change that puts an item at x, y (either may be left as it is).
function placing(key, x, y) {
  const entry = entryOf(key);
  const place = placeOf(key);
  if (!entry || !place) return null;
  const [fieldX, fieldY] = positionFields(key);
  return [entry, leavingAsWritten(entry, {[fieldX]: x === undefined ? place.x : x, [fieldY]: y === undefined ? place.y : y})];
}

// The changes without the numbers a field already reads as, which keep
// their bytes (an author's blanks, signs and leading zeros). A blank field
// is no number: a caption placed beside its button needs both given.
function leavingAsWritten(entry, numbers) {
  const changes = {};
  for (const [field, number] of Object.entries(numbers)) {
    const written = fieldText(entry, Number(field)).trim();
    if (!/^[+-]?\d+$/.test(written) || Number(written) !== number) changes[field] = number;
  }
  return changes;
}

function moveBy(key, dx, dy) {
  const place = placeOf(key);
  const change = place && placing(key, place.x + dx, place.y + dy);
  if (change) setManyFields([change]);
}

// --- Adding and deleting ------------------------------------------------

// The entries of a button's own sections ([MESSAGE], [REFERENCE], ...).
function perButtonEntries(entry) {
  if (entry.section !== '[BUTTON]') return [];
  return state.model.entries.filter((e) => e.used && BUTTON_SECTIONS.includes(e.section) &&
                                           e.number === entry.number);
}

// The other entries of a button's or a text's number in sections of the
// same tags: a later button entry replaces an earlier one, and the first
// text entry wins over later ones, so deleting one alone brings another back.
function sameSlotEntries(entry) {
  if (!['[BUTTON]', '[TEXT]'].includes(entry.section)) return [];
  return state.model.entries.filter((e) => e !== entry && e.section === entry.section && e.name === entry.name &&
                                           e.number === entry.number && e.tags === entry.tags);
}

function deleteSelected() {
  const entries = selectedKeys().map(entryOf).filter(Boolean);
  if (!entries.length) return;
  changeEdits([], () => {
    for (const entry of entries) {
      for (const doomed of [entry, ...sameSlotEntries(entry), ...perButtonEntries(entry)]) {
        if (doomed.origin > 0) state.edits.deleted.push(doomed.origin);
        else state.edits.added[-doomed.origin - 1].deleted = true;
      }
    }
    state.selected = null;
    state.also.clear();
  });
}

// --- Saving -------------------------------------------------------------

async function save() {
  try {
    ++refreshes;
    took(await post('/api/save', request()));
    state.edits = emptyEdits();
    state.undo = [];
    state.redo = [];
    draw();
    setStatus('saved');
  } catch (error) {
    setStatus(error.message, true);
    // The choice to reload with or without this page's edits (disk_watch.js).
    if (error.status === 409) showDiskChange(true);
  }
}

async function reload() {
  try {
    ++refreshes;
    took(await post('/api/reload', {lang: state.lang, windows: state.windows}));
    forgetRefusals();
    state.edits = emptyEdits();
    state.undo = [];
    state.redo = [];
    draw();
    setStatus('reloaded');
  } catch (error) {
    setStatus(error.message, true);
  }
}

// --- The program under Wine beside the drawing --------------------------

// The picture's own pixel values: a gamma a PNG file names is not applied.
async function loadImage(source) {
  const blob = typeof source === 'string' ? await (await fetch(source)).blob() : source;
  return createImageBitmap(blob, {colorSpaceConversion: 'none'});
}

async function preview() {
  setStatus('previewing the saved script under Wine...');
  try {
    const response = await fetch('/api/preview', {
      method: 'POST', headers: {'Content-Type': 'application/json', 'X-Discscreen-Token': token},
      body: JSON.stringify({lang: state.lang, windows: state.windows, dpi: state.dpi})});
    if (!response.ok) throw new Error((await response.json()).error);
    const blob = await response.blob();
    const figure = $('#truth');
    const image = figure.querySelector('img');
    image.src = URL.createObjectURL(blob);
    await image.decode();
    figure.hidden = false;
    state.truth = await loadImage(blob);
    const {outside, inside} = await compareWithProgram(state.truth);
    figure.dataset.difference = String(outside);
    figure.dataset.insideTexts = String(inside);
    figure.querySelector('figcaption').textContent =
        `pixels that differ from the drawing: ${(outside * 100).toFixed(2)}% outside texts, ` +
        `${(inside * 100).toFixed(2)}% inside their rectangles`;
    setStatus('previewed');
  } catch (error) {
    setStatus(error.message, true);
  }
}

// The saved script live under Wine, in a page of its own (opened at once,
// while the click still counts, and sent to the run's address).
async function tryDisc() {
  const tab = window.open('about:blank', '_blank');
  setStatus('starting a try of the saved script under Wine...');
  try {
    const answer = await post('/api/try', {lang: state.lang, windows: state.windows});
    if (tab) tab.location = answer.url;
    else window.open(answer.url, '_blank');
    setStatus('the try runs in its own page');
  } catch (error) {
    if (tab) tab.close();
    setStatus(error.message, true);
  }
}

function fillSelect(action, values, chosen) {
  const select = $(`[data-action="${action}"]`);
  for (const value of values) select.add(new Option(value, value, false, value === chosen));
  select.addEventListener('change', () => { state[action] = select.value; refresh(); });
}

fillSelect('lang', LANGUAGES, state.lang);
fillSelect('windows', WINDOWS, state.windows);
// --- Pictures the author brings ------------------------------------------

// A PNG, JPEG or GIF becomes a bitmap beside it on the disc (the original
// kept), and the field names the bitmap, which is what the program shows.
const BROUGHT = /\.(png|jpe?g|gif)$/i;

function isPictureField(entry, name) {
  return name === 'picture' || (entry.section === '[BEGIN]' && entry.name === 'INTROBITMAP');
}

async function changeField(entry, field, name, value) {
  if (entry.section === '[BUTTON]' && name === 'kind') return setFields(entry, fieldsForKind(entry, value));
  if (!isPictureField(entry, name) || !BROUGHT.test(value.trim())) return setFields(entry, {[field]: value});
  try {
    const kept = await post('/api/convert', {path: value.trim()});
    setStatus(`${kept.original} is shown as ${kept.picture}`);
    setFields(entry, {[field]: kept.picture});
  } catch (error) {
    refuseFields([[entryKey(entry), field]], error.message);
  }
}

function setBackground(picture) {
  const entry = state.model.entries.find((e) => e.used && e.section === '[BEGIN]' && e.name === 'INTROBITMAP');
  if (entry) return setFields(entry, {0: picture});
  return adding(() => placeEntry('[BEGIN]', 'INTROBITMAP', '', picture));
}

// A picture dropped on a button becomes its strip, anywhere else the background.
async function dropPicture(event) {
  event.preventDefault();
  const file = event.dataTransfer.files[0];
  if (!file) return;
  const on = event.target.closest('[data-entry]');
  const response = await fetch(`/api/upload?name=${encodeURIComponent(file.name)}`, {
    method: 'POST', headers: {'X-Discscreen-Token': token}, body: file});
  const kept = await response.json();
  const button = on && on.dataset.entry.startsWith('BUTTON') ? entryOf(on.dataset.entry) : null;
  if (!response.ok) return refuseDrop(button, kept.error || response.statusText);
  setStatus(`${kept.original} is shown as ${kept.picture}`);
  if (button) setFields(button, {8: kept.picture});
  else setBackground(kept.picture);
}

// A picture refused on a button stands beside its picture field, one refused
// as the background beside INTROBITMAP's.
function refuseDrop(button, message) {
  const background = state.model.entries.find((e) => e.used && e.section === '[BEGIN]' && e.name === 'INTROBITMAP');
  if (button) refuseFields([[entryKey(button), '8']], message);
  else if (background) refuseFields([[entryKey(background), '0']], message);
  else setStatus(message, true);
}

$('#screen').addEventListener('dragover', (event) => event.preventDefault());
$('#screen').addEventListener('drop', dropPicture);

$('[data-action="outlines"]').addEventListener('change', draw);
$('[data-action="save"]').addEventListener('click', save);
$('[data-action="reload"]').addEventListener('click', reload);
$('[data-action="preview"]').addEventListener('click', preview);
$('[data-action="try"]').addEventListener('click', tryDisc);
$('[data-action="undo"]').addEventListener('click', () => stepBack(state.undo, state.redo));
$('[data-action="redo"]').addEventListener('click', () => stepBack(state.redo, state.undo));
$('[data-action="add-button"]').addEventListener('click', addButton);
$('[data-action="add-text"]').addEventListener('click', addText);
$('[data-action="delete"]').addEventListener('click', deleteSelected);
// The first reading is asked for beside the vocabulary, not after it.
const firstReading = post('/api/model', request());
firstReading.catch(() => {});  // refresh() reports its refusal
loadVocabulary().then(() => refresh(null, firstReading),
                      (error) => setStatus(`the vocabulary did not load: ${error.message}`, true));
