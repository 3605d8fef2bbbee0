// The designer's keys: Tab and Shift+Tab go through the screen's items,
// arrows move the selected items (with Shift by 10), Delete deletes them,
// Ctrl+Z and Ctrl+Y undo and redo, Ctrl+S saves. Other keys typed into a
// field stay the field's. Uses designer.js's state and actions.
'use strict';

function typingInField(target) {
  return ['INPUT', 'SELECT', 'TEXTAREA'].includes(target.tagName) || target.isContentEditable;
}

// The items in the order the screen draws them.
function stepSelection(back) {
  const keys = [...document.querySelectorAll('#screen [data-entry]')].map((element) => element.dataset.entry);
  if (!keys.length) return;
  const at = keys.indexOf(state.selected);
  const next = at < 0 ? (back ? keys.length - 1 : 0) : (at + (back ? keys.length - 1 : 1)) % keys.length;
  select(keys[next]);
}

function moveSelected(dx, dy) {
  const changes = selectedKeys().map((key) => {
    const place = placeOf(key);
    return place && placing(key, place.x + dx, place.y + dy);
  }).filter(Boolean);
  if (changes.length) setManyFields(changes);
}

const WITH_CONTROL = {
  z: () => stepBack(state.undo, state.redo),
  y: () => stepBack(state.redo, state.undo),
  s: () => save(),
};

document.addEventListener('keydown', (event) => {
  const control = event.ctrlKey || event.metaKey;
  const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
  if (typingInField(event.target)) {
    // Ctrl+S saves from a field too, with what was typed into it.
    if (!control || key !== 's') return;
    event.target.blur();
  }
  if (control && WITH_CONTROL[key]) {
    event.preventDefault();
    WITH_CONTROL[key]();
    return;
  }
  if (event.key === 'Tab' && (event.target === document.body || event.target.closest('#screen'))) {
    event.preventDefault();
    stepSelection(event.shiftKey);
    $('#screen').focus();
    return;
  }
  if (!state.selected || control) return;
  const step = event.shiftKey ? 10 : 1;
  const moves = {ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step]};
  if (moves[event.key]) {
    event.preventDefault();
    moveSelected(...moves[event.key]);
  } else if (event.key === 'Delete') {
    event.preventDefault();
    deleteSelected();
  }
});
