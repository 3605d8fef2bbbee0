// Where the author sees what is wrong, at the place it is wrong: a refused
// change beside the field it was made in and on the drawn item, until a
// later change of that field or an undo goes through; a picture the page
// cannot show on its field; the checker's findings on their fields, on the
// drawn items and in the list; and what the drive reads before the screen
// appears. Uses designer.js's state and panel.js's element.
'use strict';

// "KEY|FIELD" -> {key, field, message}: the changes the server refused.
const refusals = new Map();

function refusalKey(key, field) { return `${key}|${field}`; }

function noteRefusal(key, field, message) {
  refusals.set(refusalKey(key, field), {key, field: String(field), message});
}

// A refusal of a change to `fields` ([key, field] pairs), shown beside them.
function refuseFields(fields, message) {
  for (const [key, field] of fields) noteRefusal(key, field, message);
  setStatus(message, true);
  redrawWithFaults();
}

// The refusals of the fields that changes read back without a refusal have
// set, or all of them after an undo or redo; the status too when it said one.
function settleRefusals(causes) {
  const undone = causes.some((cause) => cause.undo);
  for (const [at, refusal] of [...refusals]) {
    const fixed = undone || causes.some((cause) => (cause.fields || []).some(
        ([key, field]) => key === refusal.key && String(field) === refusal.field));
    if (!fixed) continue;
    refusals.delete(at);
    if ($('#status').textContent === refusal.message) setStatus('');
  }
}

function forgetRefusals() { refusals.clear(); }

// The panel is drawn again only for a new model or selection; a fault found
// since must show in it too.
function redrawWithFaults() {
  drawnPanel.model = null;
  if (state.model) draw();
}

// --- Beside the fields ----------------------------------------------------

function refusalNote(key, field) {
  const refusal = refusals.get(refusalKey(key, field));
  if (!refusal) return null;
  const note = element('p', {className: 'refusal', textContent: `refused: ${refusal.message}`});
  note.setAttribute('role', 'alert');
  return note;
}

// The picture a picture field of `entry` shows on the screen now.
function shownPictureOf(entry) {
  if (entry.section === '[BEGIN]' && entry.name === 'INTROBITMAP') return state.model.background;
  if (entry.section !== '[BUTTON]') return null;
  const button = state.model.buttons.find((b) => b.number === entry.number);
  return button ? button.picture : null;
}

// Why the page cannot show the field's picture, where the server said so.
function pictureNote(entry, fieldName) {
  if (fieldName !== 'picture' && !(entry.section === '[BEGIN]' && entry.name === 'INTROBITMAP')) return null;
  const path = shownPictureOf(entry);
  const why = path && pictureProblems.get(path);
  return why ? element('p', {className: 'picture-refusal', textContent: `not shown: ${why}`}) : null;
}

// The notes that stand under a field's editor.
function faultNotes(entry, field, fieldName) {
  return [refusalNote(entryKey(entry), field), pictureNote(entry, fieldName)].filter(Boolean);
}

// --- On the drawn items -----------------------------------------------------

// Errors and warnings of an item's line, and its refusals, as its marks and
// its title.
function markFaultsOnItems() {
  for (const drawn of document.querySelectorAll('#screen [data-entry]')) {
    const entry = entryOf(drawn.dataset.entry);
    if (!entry) continue;
    const findings = findingsOf(entry).filter((f) => f.severity === 'error' || f.severity === 'warning');
    const refused = [...refusals.values()].filter((refusal) => refusal.key === drawn.dataset.entry);
    if (findings.some((f) => f.severity === 'error')) drawn.classList.add('error');
    else if (findings.length) drawn.classList.add('warning');
    if (refused.length) drawn.classList.add('refused');
    const said = [...refused.map((r) => `refused: ${r.message}`), ...findings.map((f) => `${f.severity}: ${f.message}`)];
    if (said.length) drawn.title = said.join('\n');
  }
}

// --- The list of findings ---------------------------------------------------

function drawFindingList() {
  const list = $('#findings');
  list.replaceChildren();
  for (const finding of state.model.findings) {
    const row = element('li', {className: finding.severity, textContent: `${finding.line}:${finding.column}: ${finding.severity}: ${finding.message}`});
    row.dataset.line = String(finding.line);
    row.addEventListener('click', () => {
      const entry = state.model.entries.find((e) => e.line === finding.line);
      if (entry) select(entryKey(entry));
    });
    const fix = fixOf(finding);
    if (fix) row.append(' ', fix);
    list.appendChild(row);
  }
}

// --- Texts written after the buttons that name them --------------------------

const NAMES_LATER_TEXT = /names text (\d+), which no TEXT entry before this line gives/;

// The TEXT entry, after the finding's line, that the finding's button or
// extra text names too early; null when the finding is another.
function textWrittenTooLate(finding) {
  const named = finding.name === 'missing-text' && NAMES_LATER_TEXT.exec(finding.message);
  if (!named) return null;
  return state.model.entries.find((e) => e.section === '[TEXT]' && e.name === 'TEXT' &&
                                         e.number === Number(named[1]) && e.line > finding.line) || null;
}

function moveButton(entry) {
  const button = element('button', {type: 'button', textContent: 'move where the reader needs it',
                                    title: `moves line ${entry.line} before the first entry that names TEXT${entry.number}`});
  button.dataset.action = 'move-text';
  button.dataset.line = String(entry.line);
  button.addEventListener('click', (event) => {
    event.stopPropagation();
    moveWhereReaderNeeds(entry);
  });
  return button;
}

function fixOf(finding) {
  const late = textWrittenTooLate(finding);
  return late ? moveButton(late) : null;
}

// The fix on a TEXT entry's own panel, where a finding names it too early.
function fixForEntry(entry) {
  if (entry.section !== '[TEXT]') return null;
  return state.model.findings.some((finding) => textWrittenTooLate(finding) === entry) ? moveButton(entry) : null;
}

// --- What the drive reads before the screen appears ---------------------------

function kilobytes(bytes) { return `${Math.ceil(bytes / 1024)} KB`; }

function readSetBox(set) {
  const box = element('div', {className: set.warning ? 'read-set over' : 'read-set'});
  box.appendChild(element('p', {className: 'read-note', textContent: set.note}));
  const largest = element('ol', {className: 'read-largest'});
  for (const file of set.largest) largest.appendChild(element('li', {textContent: `${file.name} ${kilobytes(file.bytes)}`}));
  box.append(element('p', {textContent: 'the largest files:'}), largest);
  if (set.warning) box.appendChild(element('p', {className: 'read-warning', textContent: `warning: ${set.warning}`}));
  return box;
}

function drawReadBudget() {
  const box = $('#read-budget');
  box.replaceChildren();
  const budget = state.model.readBudget;
  if (!budget) return;
  if (!budget.sets.length) box.appendChild(element('p', {textContent: 'the screen appears on no system'}));
  for (const set of budget.sets) box.appendChild(readSetBox(set));
}
