// The designer's field panel, drawn from the tool's vocabulary of the
// script (/api/vocabulary): each field of the selected entry gets the editor
// of its kind (a list of its words, the colour table, the fonts, the texts,
// the disc's files), its meaning and its findings beside it.
'use strict';

const vocabulary = {sections: [], tags: [], colours: [], files: []};

// The vocabulary comes inside the page; /api/vocabulary serves it alone too.
async function loadVocabulary() {
  const inside = document.querySelector('#vocabulary');
  const [words, files] = await Promise.all([
    inside ? JSON.parse(inside.textContent) : fetch(`/api/vocabulary?token=${token}`).then((response) => response.json()),
    fetch(`/api/files?token=${token}`).then((response) => response.json())]);
  Object.assign(vocabulary, words, {files: files.map((file) => file.replace(/\//g, '\\'))});
}

function sectionWord(name) {
  return vocabulary.sections.find((section) => section.name === name) || null;
}

function keyWord(sectionName, name) {
  const section = sectionWord(sectionName);
  return section ? section.keys.find((key) => key.name === name) || null : null;
}

function element(tag, properties = {}, ...children) {
  const made = Object.assign(document.createElement(tag), properties);
  made.append(...children);
  return made;
}

// --- Fields and their words ---------------------------------------------

function buttonKindWord(entry) {
  const button = state.model.buttons.find((b) => b.number === entry.number);
  const kinds = keyWord('[BUTTON]', 'BUTTON').fields[0].choices;
  const kind = button ? kinds.find((choice) => choice.value === button.kind) : null;
  return kind ? kind.word : null;
}

// A button's new kind with its other fields as the program reads them (the
// same numbers) but written in the new kind's words, where the old word is
// none of them: a push button's NORMAL becomes a check box's UNCHECK.
function fieldsForKind(entry, kindWord) {
  const changes = {1: kindWord};
  keyWord('[BUTTON]', 'BUTTON').fields.forEach((field, index) => {
    const reading = field.byKind.find((r) => r.kinds.includes(kindWord));
    const written = fieldText(entry, index + 1);
    const now = reading && choiceOf(field.choices, written);
    if (!now || choiceOf(reading.choices, written)) return;
    const same = reading.choices.find((choice) => choice.value === now.value && choice.word);
    if (same) changes[index + 1] = same.word;
  });
  return changes;
}

// The field as it reads for this entry's button kind, where that differs.
function fieldFor(entry, field) {
  if (entry.section !== '[BUTTON]' || !field.byKind.length) return {meaning: field.meaning, choices: field.choices};
  const kind = buttonKindWord(entry);
  const reading = field.byKind.find((r) => r.kinds.includes(kind));
  // A field the kind leaves unused (an exit button's option) keeps the words
  // it may still be written with, rather than none.
  return reading ? {meaning: `${reading.label}: ${reading.meaning}`, choices: reading.choices.length ? reading.choices : field.choices}
                 : {meaning: field.meaning, choices: field.choices};
}

// The choice a written word stands for: its word, or its number.
function choiceOf(choices, written) {
  const word = written.trim().toUpperCase();
  const byWord = choices.find((choice) => choice.word === word);
  if (byWord || !/\d/.test(word)) return byWord || null;
  return choices.find((choice) => choice.value === parseInt(word.slice(word.search(/-?\d/)), 10)) || null;
}

function choiceEditor(written, choices, change) {
  const list = element('select');
  const chosen = choiceOf(choices, written);
  for (const choice of choices) {
    const label = `${choice.word || '(blank)'} - ${choice.meaning}`;
    list.add(new Option(label, choice.word, false, choice === chosen));
  }
  if (!chosen) list.add(new Option(`${written.trim() || '(blank)'} - not a word of this field`, written, false, true), 0);
  list.addEventListener('change', () => change(list.value));
  return list;
}

function textInput(written, change, listId) {
  const input = element('input', {value: written});
  if (listId) input.setAttribute('list', listId);
  input.addEventListener('change', () => change(input.value));
  return input;
}

// The program's colours as swatches, the words of the field (HIDE, HELP,
// blank) beside them, and the number as written.
function colourEditor(written, choices, change) {
  const row = element('span', {className: 'colours'});
  const number = textInput(written, change);
  number.className = 'colour-number';
  vocabulary.colours.forEach((colour, index) => {
    const swatch = element('button', {type: 'button', className: 'swatch', title: String(index)});
    swatch.style.background = colour;
    swatch.dataset.colour = String(index);
    if (written.trim() !== '' && Number(written) === index) swatch.classList.add('chosen');
    swatch.addEventListener('click', () => change(String(index)));
    row.appendChild(swatch);
  });
  for (const choice of choices) {
    const word = element('button', {type: 'button', className: 'colour-word', textContent: choice.word, title: choice.meaning});
    word.addEventListener('click', () => change(choice.word));
    row.appendChild(word);
  }
  row.appendChild(number);
  return row;
}

function usedEntries(section, name) {
  return state.model.entries.filter((e) => e.used && e.section === section && e.name === name);
}

// A pick of numbered entries (fonts, texts), with none and an addition.
function numberPick(written, entries, describe, adding, change) {
  const list = element('select');
  const number = written.trim() === '' ? null : parseInt(written, 10);
  list.add(new Option('(none)', ' ', false, number === null || number === 0));
  let found = number === null || number === 0;
  for (const entry of entries) {
    list.add(new Option(`${entry.number}: ${describe(entry)}`.slice(0, 60), String(entry.number), false, entry.number === number));
    found = found || entry.number === number;
  }
  if (!found) list.add(new Option(`${written.trim()} - given by no entry`, written, false, true));
  list.add(new Option(adding, 'add'));
  list.addEventListener('change', () => change(list.value));
  return list;
}

function fontEditor(written, change) {
  return numberPick(written, usedEntries('[BEGIN]', 'FONT'), (entry) => fieldText(entry, 0), 'add a font',
                    (value) => (value === 'add' ? addNumbered('[BEGIN]', 'FONT', 'Tahoma,14', 1, change) : change(value)));
}

function captionEditor(written, change) {
  return numberPick(written, usedEntries('[TEXT]', 'TEXT'), (entry) => fieldText(entry, 1), 'add a text',
                    (value) => (value === 'add' ? addNumbered('[TEXT]', 'TEXT', '0,7, , , , ,0,0', 1, change) : change(value)));
}

// The chain's members a restart list may name: the check boxes, and the
// entries of [RUN] and [REBOOTED].
function chainMembers() {
  const members = new Map();
  for (const button of state.model.buttons.filter((b) => b.kind === KIND_CHECK_BOX)) {
    const caption = state.model.texts.find((text) => text.number === button.caption);
    members.set(button.number, `${button.number} ${caption ? caption.text : 'check box'}`);
  }
  for (const entry of state.model.entries.filter((e) => e.used && ['[RUN]', '[REBOOTED]'].includes(e.section))) {
    if (!members.has(entry.number)) members.set(entry.number, `${entry.number} ${entry.section}`);
  }
  return [...members].sort((a, b) => a[0] - b[0]);
}

// A list of button numbers: the numbers as written, and a box to tick for
// each chain member.
function buttonsEditor(written, change) {
  const row = element('span', {className: 'buttons'}, textInput(written, change));
  const listed = () => written.split(',').map((part) => parseInt(part, 10)).filter((number) => number > 0);
  for (const [number, label] of chainMembers()) {
    const box = element('input', {type: 'checkbox', checked: listed().includes(number)});
    box.dataset.button = String(number);
    box.addEventListener('change', () => {
      const numbers = new Set(listed());
      if (box.checked) numbers.add(number);
      else numbers.delete(number);
      change([...numbers].sort((a, b) => a - b).join(','));
    });
    row.append(element('label', {}, box, ` ${label}`));
  }
  return row;
}

const FILE_KINDS = {picture: /\.(bmp|dib)$/i, sound: /\.wav$/i, command: /./};

// The disc's files that fit, picked into the field; a command keeps its
// arguments after the file.
function fileEditor(kind, written, change) {
  const row = element('span', {className: 'file'});
  const input = textInput(written, change);
  const pick = element('select', {className: 'file-pick'});
  pick.add(new Option('pick a file of the disc', ''));
  for (const file of vocabulary.files.filter((name) => FILE_KINDS[kind].test(name))) pick.add(new Option(file, file));
  pick.addEventListener('change', () => {
    if (!pick.value) return;
    const rest = kind === 'command' ? written.trim().replace(/^\S*/, '') : '';
    change(pick.value + rest);
  });
  row.append(input, pick);
  return row;
}

function editorOf(field, reading, written, change) {
  switch (field.kind) {
    case 'choice': return choiceEditor(written, reading.choices, change);
    case 'colour': return colourEditor(written, reading.choices, change);
    case 'font': return fontEditor(written, change);
    case 'text': return captionEditor(written, change);
    case 'buttons': return buttonsEditor(written, change);
    case 'picture': case 'sound': case 'command': return fileEditor(field.kind, written, change);
    default: return textInput(written, change);
  }
}

// --- Findings on their fields --------------------------------------------

// The field (1-based) a column of the entry's line falls in; 0 for the
// key or a whole value.
function fieldAtColumn(entry, column, wholeValue) {
  if (column < entry.valueColumn) return -1;
  if (wholeValue) return 0;
  const value = entry.value;
  let field = 0;
  let inField = false;
  for (let at = 0; at < value.length && at <= column - entry.valueColumn; ++at) {
    if (value[at] === ',') inField = false;
    else if (!inField) { inField = true; ++field; }
  }
  return Math.max(field, 1);
}

function findingsOf(entry) {
  return state.model.findings.filter((finding) => finding.line === entry.line);
}

function findingRow(findings) {
  const list = element('ul', {className: 'field-findings'});
  for (const finding of findings) {
    const row = element('li', {className: finding.severity, textContent: `${finding.severity}: ${finding.message}`});
    const fix = fixOf(finding);
    if (fix) row.append(' ', fix);
    list.appendChild(row);
  }
  return list;
}

// --- The panel -----------------------------------------------------------

function fieldRow(entry, key, field, index) {
  const number = key.wholeValue ? 0 : index + 1;
  const reading = fieldFor(entry, field);
  const written = fieldText(entry, number);
  const row = element('div', {className: 'field'});
  row.dataset.fieldName = field.name;
  row.dataset.field = String(number);
  const change = (text) => changeField(entry, number, field.name, text);
  row.append(element('label', {}, element('span', {textContent: field.name}), editorOf(field, reading, written, change)),
             element('p', {className: 'meaning', textContent: reading.meaning}));
  const findings = findingsOf(entry).filter((f) => fieldAtColumn(entry, f.column, key.wholeValue) === number);
  if (findings.length) row.appendChild(findingRow(findings));
  row.append(...faultNotes(entry, number, field.name));
  return row;
}

// One entry's editors: its number, then its fields, each with its meaning.
function entryEditors(entry) {
  const key = keyWord(entry.section, entry.name);
  const box = element('div', {className: 'entry'});
  box.dataset.section = entry.section;
  const title = element('h3', {textContent: `${entry.section} ${entry.name}${entry.number || ''}`});
  box.append(title);
  if (!key) {
    box.append(wholeValueRow(entry));
    return box;
  }
  box.appendChild(element('p', {className: 'meaning', textContent: key.meaning}));
  if (entry.section === '[TEXT]') box.appendChild(element('p', {className: 'owners', textContent: ownersOf(entry)}));
  const fix = fixForEntry(entry);
  if (fix) box.appendChild(fix);
  const keyFindings = findingsOf(entry).filter((f) => f.column < entry.valueColumn);
  if (keyFindings.length) box.appendChild(findingRow(keyFindings));
  if (key.numbers && ['[BUTTON]', '[TEXT]'].includes(entry.section)) box.appendChild(numberInput(entry));
  const shown = key.repeats ? Math.max(key.fields.length, entry.fields.length) : key.fields.length;
  for (let index = 0; index < shown; ++index) {
    const field = key.fields[index % key.fields.length];
    box.appendChild(fieldRow(entry, key, field, index));
  }
  if (key.repeats) box.appendChild(addFieldsButton(entry, key));
  return box;
}

// An entry the vocabulary does not know: its whole value.
function wholeValueRow(entry) {
  const row = element('div', {className: 'field'});
  row.dataset.field = '0';
  row.append(element('label', {}, element('span', {textContent: 'value'}),
                     textInput(fieldText(entry, 0), (text) => setFields(entry, {0: text}))));
  row.append(...faultNotes(entry, 0, 'value'));
  return row;
}

function addFieldsButton(entry, key) {
  const more = element('button', {type: 'button', textContent: `add ${key.fields.map((f) => f.name).join(', ')}`});
  more.addEventListener('click', () => {
    const count = Math.max(entry.fields.length, 0);
    const changes = {};
    key.fields.forEach((field, i) => { changes[count + i + 1] = field.kind === 'number' ? '0' : 'x'; });
    setFields(entry, changes);
  });
  return more;
}

// A button's own sections: the entry for it where there is one, else a
// button that adds it.
function buttonSections(entry) {
  const box = element('div', {className: 'button-sections'});
  for (const section of vocabulary.sections.filter((s) => s.ofButton)) {
    const own = state.model.entries.find((e) => e.used && e.section === section.name && e.number === entry.number);
    if (own) {
      box.appendChild(entryEditors(own));
    } else {
      const add = element('button', {type: 'button', textContent: `add ${section.name}`, title: section.meaning});
      add.dataset.addSection = section.name;
      add.addEventListener('click', () => addButtonSection(entry, section));
      box.appendChild(add);
    }
  }
  return box;
}

// The panel drawn last: the drawing is redrawn as the pointer moves over the
// buttons, and a field being typed in must stay.
let drawnPanel = {model: null, selected: null};

// The texts a button shows, marked on the drawing while it is picked.
function markOwnTexts() {
  const button = /^BUTTON\d+$/.test(state.selected || '') &&
      state.model.buttons.find((b) => 'BUTTON' + b.number === state.selected);
  for (const number of button ? [button.caption, button.extraText] : []) {
    const text = document.querySelector(`#screen [data-entry="TEXT${number}"]`);
    if (text) text.classList.add('owned');
  }
}

// The drawn caption that the program places beside the button `key` (one
// without a position of its own), which a drag of the button takes along.
function followingTexts(key) {
  const button = key.startsWith('BUTTON') && state.model.buttons.find((b) => 'BUTTON' + b.number === key);
  const entry = button && entryOf('TEXT' + button.caption);
  if (!entry) return [];
  const placed = [6, 7].every((field) => !(parseInt(fieldText(entry, field), 10) >= 0));
  const drawn = document.querySelector(`#screen [data-entry="TEXT${button.caption}"]`);
  return placed && drawn ? [drawn] : [];
}

// The buttons that show a text, as its caption or extra text.
function ownersOf(entry) {
  const owners = [];
  for (const button of state.model.buttons) {
    if (button.caption === entry.number) owners.push(`caption of BUTTON${button.number}`);
    if (button.extraText === entry.number) owners.push(`extra text of BUTTON${button.number}`);
  }
  return owners.length ? `Shown as the ${owners.join(', the ')}.` : 'Shown by no button.';
}

function drawPanel() {
  markOwnTexts();
  if (drawnPanel.model === state.model && drawnPanel.selected === state.selected) return;
  drawnPanel = {model: state.model, selected: state.selected};
  const panel = $('#panel');
  panel.replaceChildren();
  drawNewFor();
  if (state.selected === 'settings') {
    panel.appendChild(settingsPanel());
    return;
  }
  const entry = entryOf(state.selected);
  if (!entry) return;
  panel.appendChild(entryEditors(entry));
  if (entry.section === '[BUTTON]') panel.appendChild(buttonSections(entry));
  if (entry.section === '[TEXT]') panel.appendChild(textForSystemsButton(entry));
}

// Renumbering changes the entry's name; the chain runs in the numbers' order.
function numberInput(entry) {
  const key = keyWord(entry.section, entry.name);
  const input = element('input', {type: 'number', min: key.numbers.lowest, max: key.numbers.highest, value: entry.number});
  input.dataset.field = 'number';
  input.addEventListener('change', () => {
    const number = Number(input.value);
    if (!(number >= key.numbers.lowest && number <= key.numbers.highest)) {
      return setStatus(`a number from ${key.numbers.lowest} to ${key.numbers.highest}`, true);
    }
    // A button's own sections name it by its number too, and follow it, as
    // do the number's other entries (which would otherwise come back).
    changeEdits([[entryKey(entry), 'number']], () => {
      for (const renamed of [entry, ...sameSlotEntries(entry), ...perButtonEntries(entry)]) {
        editsOf(renamed, true)[-1] = renamed.name + number;
      }
      state.selected = entry.name + number;
    });
  });
  const label = element('label', {}, element('span', {textContent: 'number'}), input);
  const refused = refusalNote(entryKey(entry), 'number');
  return refused ? element('div', {className: 'number'}, label, refused) : label;
}
