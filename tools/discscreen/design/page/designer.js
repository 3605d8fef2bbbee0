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
  lang: 'en', windows: 'later', model: null, base: null, edits: emptyEdits(),
  selected: null, hovered: null, undo: [], redo: [],
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
  if (state.base) made.base = state.base;
  if (state.utf8) made.utf8 = true;
  return made;
}

function took(model) {
  state.model = model;
  state.base = model.version;
}

let refreshes = 0;  // an answer to an older refresh is not drawn over a newer one

async function refresh() {
  const mine = ++refreshes;
  try {
    const model = await post('/api/model', request());
    if (mine !== refreshes) return;
    took(model);
    draw();
    document.body.dataset.ready = 'yes';
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
    }
  }
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

function setFields(entry, changes) {
  remember();
  const edits = editsOf(entry, true);
  for (const [field, text] of Object.entries(changes)) edits[field] = String(text);
  refresh();
}

function stepBack(from, to) {
  if (!from.length) return;
  to.push(JSON.stringify(state.edits));
  state.edits = JSON.parse(from.pop());
  refresh();
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

function fontCss(font) {
  if (!font) return 'bold 13px sans-serif';  // the system font
  const height = font.height > 0 ? Math.round(font.height * 0.8) : 11;
  const face = font.face ? `"${font.face.trim()}", sans-serif` : 'Tahoma, sans-serif';
  return `${font.italic ? 'italic ' : ''}${font.bold ? 'bold ' : ''}${height}px ${face}`;
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
  screen.style.backgroundImage = model.background ? `url("${pictureUrl(model.background)}")` : 'none';
  screen.classList.toggle('outlines', $('[data-action="outlines"]').checked);
  const lit = state.hovered !== null ? state.hovered : (focusButton() || {}).number;
  const errorLines = new Set(model.findings.filter((f) => f.severity === 'error').map((f) => f.line));
  const texts = new Map(model.texts.map((text) => [text.number, text]));
  const drawn = new Set();
  for (const button of model.buttons) {
    // A button without a picture is its hit area, which its caption gives.
    const place = button.width > 0 && button.height > 0 ? button : button.window;
    // HIDE (-1) hides no button: the program draws it at rest.
    if (place.width <= 0 || place.height <= 0) continue;
    const highlighted = button.number === lit;
    const element = item('BUTTON' + button.number, place, 'button');
    if (element.classList.contains('selected')) element.appendChild(resizeHandle(element.dataset.entry, element));
    if (button.picture) {
      element.style.backgroundImage = `url("${pictureUrl(button.picture)}")`;
      element.style.backgroundPosition = `${-frameOf(button, highlighted) * button.width}px 0`;
    }
    element.addEventListener('pointerenter', () => {
      if (!dragging && state.hovered !== button.number) { state.hovered = button.number; draw(); }
    });
    element.addEventListener('pointerleave', () => {
      if (!dragging && state.hovered === button.number) { state.hovered = null; draw(); }
    });
    for (const number of [button.caption, button.extraText]) {
      const text = texts.get(number);
      if (!text || drawn.has(number)) continue;
      drawn.add(number);
      drawText(text, highlighted);
    }
  }
  // Texts no button shows are only outlined, so that they can be picked.
  for (const text of model.texts) if (!drawn.has(text.number)) drawText(text, false, true);
  for (const element of screen.querySelectorAll('[data-entry]')) {
    const entry = entryOf(element.dataset.entry);
    if (entry && errorLines.has(entry.line)) element.classList.add('error');
  }
  drawLists();
  drawPanel();
}

function drawText(text, highlighted, unused) {
  const element = item('TEXT' + text.number, text, 'text');
  element.style.font = fontCss(text.font);
  // A size the tool worked out from the text is only near the program's,
  // which measures in the real font: such a text is not cut or wrapped.
  if (text.measured) element.classList.add('measured');
  if (text.font && (text.font.underline || text.font.strikeOut)) {
    element.style.textDecoration = `${text.font.underline ? 'underline ' : ''}${text.font.strikeOut ? 'line-through' : ''}`;
  }
  const colour = highlighted ? text.highlightColour : text.normalColour;
  const shown = !unused && (highlighted || text.normalColour >= 0);
  element.style.color = COLOURS[colour] || '#000000';
  if (highlighted && text.highlightBackground >= 0) element.style.background = COLOURS[text.highlightBackground];
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
  if (key === state.selected) element.classList.add('selected');
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
  const findings = $('#findings');
  findings.replaceChildren();
  for (const finding of state.model.findings) {
    const row = document.createElement('li');
    row.className = finding.severity;
    row.textContent = `${finding.line}:${finding.column}: ${finding.severity}: ${finding.message}`;
    row.addEventListener('click', () => {
      const entry = state.model.entries.find((e) => e.line === finding.line);
      if (entry) select(entryKey(entry));
    });
    findings.appendChild(row);
  }
}

function select(key) {
  state.selected = key;
  draw();
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
      element.style.width = `${Math.max(1, start.width + Math.round(e.clientX - start.x))}px`;
      element.style.height = `${Math.max(1, start.height + Math.round(e.clientY - start.y))}px`;
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
  if (state.selected !== key) {
    state.selected = key;
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
  dragging.dx = Math.round(event.clientX - dragging.startX);
  dragging.dy = Math.round(event.clientY - dragging.startY);
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

function moveBy(key, dx, dy) {
  const entry = entryOf(key);
  if (!entry) return;
  const [fieldX, fieldY] = positionFields(key);
  const place = (key.startsWith('BUTTON') ? state.model.buttons : state.model.texts)
      .find((thing) => thing.number === entry.number);
  if (!place) return;
  setFields(entry, {[fieldX]: place.x + dx, [fieldY]: place.y + dy});
}

document.addEventListener('keydown', (event) => {
  if (['INPUT', 'SELECT'].includes(event.target.tagName) || !state.selected) return;
  const step = event.shiftKey ? 10 : 1;
  const moves = {ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step]};
  if (moves[event.key]) {
    event.preventDefault();
    moveBy(state.selected, ...moves[event.key]);
  } else if ((event.ctrlKey || event.metaKey) && event.key === 'z') {
    stepBack(state.undo, state.redo);
  } else if ((event.ctrlKey || event.metaKey) && event.key === 'y') {
    stepBack(state.redo, state.undo);
  }
});

// --- Adding and deleting ------------------------------------------------

// The entries of a button's own sections ([MESSAGE], [REFERENCE], ...).
function perButtonEntries(entry) {
  if (entry.section !== '[BUTTON]') return [];
  return state.model.entries.filter((e) => e.used && BUTTON_SECTIONS.includes(e.section) &&
                                           e.number === entry.number);
}

function deleteSelected() {
  const entry = entryOf(state.selected);
  if (!entry) return;
  remember();
  for (const doomed of [entry, ...perButtonEntries(entry)]) {
    if (doomed.origin > 0) state.edits.deleted.push(doomed.origin);
    else state.edits.added[-doomed.origin - 1].deleted = true;
  }
  state.selected = null;
  refresh();
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
    if (error.status === 409 && window.confirm(`${error.message}\n\nReload the script from disk?`)) reload();
  }
}

async function reload() {
  try {
    ++refreshes;
    took(await post('/api/reload', {lang: state.lang, windows: state.windows}));
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

// The drawing without its texts, as pixels: the background and each button
// in its frame at rest.
async function drawingPixels(width, height) {
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d');
  const model = state.model;
  if (model.background) context.drawImage(await loadImage(pictureUrl(model.background)), 0, 0);
  const lit = (focusButton() || {}).number;
  for (const button of model.buttons) {
    if (!button.picture || button.width <= 0) continue;
    const strip = await loadImage(pictureUrl(button.picture));
    const frame = frameOf(button, button.number === lit);
    context.drawImage(strip, frame * button.width, 0, button.width, button.height,
                      button.x, button.y, button.width, button.height);
  }
  return context.getImageData(0, 0, width, height).data;
}

// The share of pixels outside the shown texts where the drawing and the
// program's picture differ.
async function differingShare(truth) {
  const width = Math.min(truth.width, state.model.width || truth.width);
  const height = Math.min(truth.height, state.model.height || truth.height);
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d');
  context.drawImage(truth, 0, 0);
  const theirs = context.getImageData(0, 0, width, height).data;
  const ours = await drawingPixels(width, height);
  const texts = [...document.querySelectorAll('#screen .text')].filter((e) => e.textContent)
      .map((e) => [e.offsetLeft, e.offsetTop, e.offsetLeft + e.offsetWidth, e.offsetTop + e.offsetHeight]);
  let counted = 0;
  let differing = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      if (texts.some(([left, top, right, bottom]) => x >= left && x < right && y >= top && y < bottom)) continue;
      const at = (y * width + x) * 4;
      ++counted;
      if (ours[at] !== theirs[at] || ours[at + 1] !== theirs[at + 1] || ours[at + 2] !== theirs[at + 2]) ++differing;
    }
  }
  return counted ? differing / counted : 0;
}

async function preview() {
  setStatus('previewing the saved script under Wine...');
  try {
    const response = await fetch('/api/preview', {
      method: 'POST', headers: {'Content-Type': 'application/json', 'X-Discscreen-Token': token},
      body: JSON.stringify({lang: state.lang, windows: state.windows})});
    if (!response.ok) throw new Error((await response.json()).error);
    const blob = await response.blob();
    const figure = $('#truth');
    const image = figure.querySelector('img');
    image.src = URL.createObjectURL(blob);
    await image.decode();
    figure.hidden = false;
    state.truth = await loadImage(blob);
    const share = await differingShare(state.truth);
    figure.dataset.difference = String(share);
    figure.querySelector('figcaption').textContent =
        `${(share * 100).toFixed(2)}% of the pixels outside texts differ from the drawing`;
    setStatus('previewed');
  } catch (error) {
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
  if (!isPictureField(entry, name) || !BROUGHT.test(value.trim())) return setFields(entry, {[field]: value});
  try {
    const kept = await post('/api/convert', {path: value.trim()});
    setStatus(`${kept.original} is shown as ${kept.picture}`);
    setFields(entry, {[field]: kept.picture});
  } catch (error) {
    setStatus(error.message, true);
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
  if (!response.ok) return setStatus(kept.error || response.statusText, true);
  setStatus(`${kept.original} is shown as ${kept.picture}`);
  const button = on && on.dataset.entry.startsWith('BUTTON') ? entryOf(on.dataset.entry) : null;
  if (button) setFields(button, {8: kept.picture});
  else setBackground(kept.picture);
}

$('#screen').addEventListener('dragover', (event) => event.preventDefault());
$('#screen').addEventListener('drop', dropPicture);

$('[data-action="outlines"]').addEventListener('change', draw);
$('[data-action="save"]').addEventListener('click', save);
$('[data-action="reload"]').addEventListener('click', reload);
$('[data-action="preview"]').addEventListener('click', preview);
$('[data-action="undo"]').addEventListener('click', () => stepBack(state.undo, state.redo));
$('[data-action="redo"]').addEventListener('click', () => stepBack(state.redo, state.undo));
$('[data-action="add-button"]').addEventListener('click', addButton);
$('[data-action="add-text"]').addEventListener('click', addText);
$('[data-action="delete"]').addEventListener('click', deleteSelected);
loadVocabulary().then(refresh, (error) => setStatus(`the vocabulary did not load: ${error.message}`, true));
