// Making new parts of the script in the page: buttons with their captions,
// texts, [BEGIN] keys, a button's own sections and the chains. Where each
// new entry goes is the server's answer (/api/place), from the reader's
// rules; the page only says what to add and for which systems.
'use strict';

// The systems a new entry is for: every one, or the language or Windows
// version shown now (its section's tags).
function selectorForNew() {
  const chosen = $('#new-for') ? $('#new-for').value : 'every';
  const tags = (state.model && state.model.tags) || {};
  if (chosen === 'language') return tags.language || '';
  if (chosen === 'windows') return tags.windows || '';
  if (chosen === 'both') return [tags.language, tags.windows].filter(Boolean).join(' ');
  return '';
}

function drawNewFor() {
  let list = $('#new-for');
  if (!list) {
    list = element('select', {id: 'new-for', title: 'the systems a new entry is for'});
    for (const value of ['every', 'language', 'windows', 'both']) list.add(new Option(value, value));
    $('[data-action="add-button"]').before(element('label', {}, 'New entries for ', list));
  }
  const tags = (state.model && state.model.tags) || {};
  const labels = {every: 'every system', language: `this language ${tags.language || ''}`,
                  windows: `this Windows ${tags.windows || '(none)'}`, both: 'this language and Windows'};
  for (const option of list.options) option.textContent = labels[option.value];
  if (!$('[data-action="settings"]')) {
    const settings = element('button', {type: 'button', textContent: 'Screen settings', title: 'the [BEGIN] keys and the chains run at once'});
    settings.dataset.action = 'settings';
    settings.addEventListener('click', () => select('settings'));
    $('[data-action="add-button"]').before(settings);
  }
}

function freeNumber(section, name, lowest) {
  const taken = new Set(state.model.entries.filter((e) => e.section === section && e.name === name).map((e) => e.number));
  for (let number = lowest; number < 32; ++number) if (!taken.has(number)) return number;
  return null;
}

// Adds `NAMEn=value` where the reader needs it; resolves with the new
// entry's index among the edits' additions.
async function placeEntry(section, name, number, value, captionText = 0) {
  const answer = await post('/api/place', {...request(), add: {
    section, selector: selectorForNew(), number: Number(number) || 0, captionText, text: `${name}${number}=${value}`}});
  state.edits.added.push(...answer.added);
  state.model = await post('/api/model', request());
  return state.edits.added.length - 1;
}

// Several additions as one undo step; a refusal leaves the edits as they were.
async function adding(steps) {
  const before = JSON.stringify(state.edits);
  try {
    await steps();
    state.undo.push(before);
    state.redo = [];
  } catch (error) {
    state.edits = JSON.parse(before);
    setStatus(error.message, true);
  }
  refresh();
}

// An entry written after the first entry that needs it (a text after the
// button that names it), moved to where /api/place puts such an entry: its
// line deleted and its text, byte for byte, added there, as one step to undo.
function moveWhereReaderNeeds(entry) {
  return adding(async () => {
    if (entry.origin > 0) {
      delete state.edits.fields[entry.origin];
      state.edits.deleted.push(entry.origin);
    } else {
      state.edits.added[-entry.origin - 1].deleted = true;
    }
    const answer = await post('/api/place', {...request(), add: {
      section: entry.section, selector: entry.selector, number: entry.number, text: entry.text}});
    state.edits.added.push(...answer.added);
    state.model = await post('/api/model', request());
    state.selected = entryKey(entry);
  });
}

function captionLike(button) {
  const caption = button && state.model.texts.find((text) => text.number === button.caption);
  const entry = caption && entryOf('TEXT' + caption.number);
  if (!entry) return '0,7, , ';
  return [2, 3, 4, 5].map((field) => fieldText(entry, field).trim() || ' ').join(',');
}

// A new button with its caption beside it, where the program puts a caption
// without a position of its own.
function addButton() {
  const picked = entryOf(state.selected && state.selected.startsWith('BUTTON') ? state.selected : null);
  const like = picked || state.model.entries.find((e) => e.used && e.section === '[BUTTON]');
  const likeButton = like && state.model.buttons.find((b) => b.number === like.number);
  const text = freeNumber('[TEXT]', 'TEXT', 1);
  const button = freeNumber('[BUTTON]', 'BUTTON', 1);
  if (text === null || button === null) return setStatus('all 31 numbers are taken', true);
  const picture = like ? fieldText(like, 8).trim() || ' ' : ' ';
  // Without a picture, the hit area starts from the written size.
  const size = picture.trim() ? '0,0' : '100,24';
  const [x, y] = newButtonPlace(picked && likeButton);
  // A check box picked makes another check box: the next of a list.
  const kind = picked && likeButton.kind === KIND_CHECK_BOX ? 'CHECKBOX,%,UNCHECK' : 'PUSHBUTTON,%,NORMAL';
  return adding(async () => {
    await placeEntry('[TEXT]', 'TEXT', text, `Button ${button},${captionLike(likeButton)}, , ,0,0`);
    await placeEntry('[BUTTON]', 'BUTTON', button, `${kind.replace('%', `${x},${y},${size}`)},NO,${picture},${text}`, text);
    state.selected = 'BUTTON' + button;
  });
}

// Under the picked button, as the next of a column, while the screen has
// room for it there; else the screen's top left corner.
function newButtonPlace(below) {
  const GAP = 8;
  if (!below) return [20, 20];
  const place = below.width > 0 ? below : below.window || below;
  const y = place.y + place.height + GAP;
  return y + place.height <= (state.model.height || 480) ? [place.x, y] : [20, 20];
}

function addText() {
  const text = freeNumber('[TEXT]', 'TEXT', 1);
  if (text === null) return setStatus('all 31 text numbers are taken', true);
  return adding(async () => {
    await placeEntry('[TEXT]', 'TEXT', text, 'New text,0,7, , ,20,20,0,0');
    state.selected = 'TEXT' + text;
  });
}

// A font or text added from a field's pick, and named in that field.
function addNumbered(section, name, value, lowest, change) {
  const number = freeNumber(section, name, lowest);
  if (number === null) return setStatus(`all ${name} numbers are taken`, true);
  return adding(async () => {
    await placeEntry(section, name, number, name === 'TEXT' ? `Text ${number},${value}` : value);
    const undo = state.undo.length;
    change(String(number));
    state.undo.length = undo;  // one step with the addition
  });
}

const NEW_VALUES = {message: 'New message', text: '0', number: '1', words: 'WORD', command: 'SETUP.EXE',
                    choice: 'NO', buttons: '1', picture: ' ', sound: ' ', 'font specification': 'Tahoma,14'};

function newValueOf(key) {
  if (key.newValue) return key.newValue;
  return key.fields.map((field) => (field.choices.length ? field.choices[0].word || ' ' : NEW_VALUES[field.kind] || ' ')).join(',');
}

function addButtonSection(entry, section) {
  const key = section.keys[0];
  return adding(() => placeEntry(section.name, key.name, entry.number, newValueOf(key)));
}

// A new list of restart buttons names the chain's members, the only
// buttons it may name (any other is an error of the script).
function newBeginValue(key) {
  const members = chainMembers().map(([number]) => number);
  return key.wholeValue && key.fields[0].kind === 'buttons' && members.length ? members.join(',') : newValueOf(key);
}

function addBeginKey(key) {
  const number = key.numbers ? freeNumber('[BEGIN]', key.name, key.numbers.lowest) : '';
  return adding(async () => {
    await placeEntry('[BEGIN]', key.name, number === null ? '' : number, newBeginValue(key));
    state.selected = 'settings';
  });
}

function addChainMember(section) {
  const key = section.keys[0];
  const number = freeNumber(section.name, key.name, 1);
  return adding(async () => {
    await placeEntry(section.name, key.name, number, newValueOf(key));
    state.selected = 'settings';
  });
}

// The screen's settings: every [BEGIN] key, given or to add, and the chains
// that run at once.
function settingsPanel() {
  const box = element('div', {className: 'settings'});
  const begin = sectionWord('[BEGIN]');
  box.appendChild(element('p', {className: 'meaning', textContent: begin.meaning}));
  for (const key of begin.keys) {
    const given = state.model.entries.filter((e) => e.used && e.section === '[BEGIN]' && e.name === key.name);
    for (const entry of given) box.appendChild(entryEditors(entry));
    if (!given.length || key.numbers) {
      const add = element('button', {type: 'button', textContent: `add ${key.name}`, title: key.meaning});
      add.dataset.addKey = key.name;
      add.addEventListener('click', () => addBeginKey(key));
      box.appendChild(add);
    }
  }
  for (const section of vocabulary.sections.filter((s) => s.name === '[RUN]' || s.name === '[REBOOTED]')) {
    for (const entry of state.model.entries.filter((e) => e.used && e.section === section.name)) box.appendChild(entryEditors(entry));
    const add = element('button', {type: 'button', textContent: `add ${section.name} entry`, title: section.meaning});
    add.dataset.addSection = section.name;
    add.addEventListener('click', () => addChainMember(section));
    box.appendChild(add);
  }
  return box;
}

// A text given again, under its own number, for the systems new entries are
// for (a language's or a Windows version's section, which the reader reads
// before the untagged one): the author then edits its words there.
function addTextForSystems(entry) {
  if (!selectorForNew()) {
    return setStatus('choose "this language" or "this Windows" for new entries first: the text is given again for those systems', true);
  }
  return adding(async () => {
    await placeEntry('[TEXT]', 'TEXT', entry.number, fieldText(entry, 0));
    state.selected = 'TEXT' + entry.number;
  });
}

function textForSystemsButton(entry) {
  const add = element('button', {type: 'button', textContent: 'give this text for the systems new entries are for',
                                 title: 'the same text number in a section of this language or Windows, to translate'});
  add.dataset.action = 'translate';
  add.addEventListener('click', () => addTextForSystems(entry));
  return add;
}
