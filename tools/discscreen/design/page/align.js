// Aligning the selected items (Shift+click selects more than one): their
// left edges, their top edges, or the same space between neighbours, as one
// step to undo. Uses designer.js's selection and edits.
'use strict';

function selectedPlaces() {
  return selectedKeys().map((key) => ({key, place: placeOf(key)})).filter((item) => item.place);
}

// Neighbours along the axis the items spread most along keep their order;
// the first and last stay, the others are spaced evenly between them.
function evenSpacing(items) {
  const spread = (axis) => Math.max(...items.map((i) => i.place[axis])) - Math.min(...items.map((i) => i.place[axis]));
  const [axis, size] = spread('y') >= spread('x') ? ['y', 'height'] : ['x', 'width'];
  const sorted = [...items].sort((a, b) => a.place[axis] - b.place[axis]);
  const first = sorted[0].place;
  const last = sorted[sorted.length - 1].place;
  const middle = sorted.slice(1, -1).reduce((sum, item) => sum + item.place[size], 0);
  const gap = (last[axis] - (first[axis] + first[size]) - middle) / (sorted.length - 1);
  const changes = [];
  let at = first[axis] + first[size];
  for (const item of sorted.slice(1, -1)) {
    const position = Math.round(at + gap);
    changes.push(axis === 'y' ? placing(item.key, undefined, position) : placing(item.key, position));
    at += gap + item.place[size];
  }
  return changes;
}

function alignSelected(how) {
  const items = selectedPlaces();
  if (items.length < 2 || (how === 'spacing' && items.length < 3)) {
    setStatus(`select ${how === 'spacing' ? 'three' : 'two'} or more items (Shift+click) to align them`, true);
    return;
  }
  let changes;
  if (how === 'left') {
    const left = Math.min(...items.map((item) => item.place.x));
    changes = items.map((item) => placing(item.key, left));
  } else if (how === 'top') {
    const top = Math.min(...items.map((item) => item.place.y));
    changes = items.map((item) => placing(item.key, undefined, top));
  } else {
    changes = evenSpacing(items);
  }
  setManyFields(changes.filter(Boolean));
}

for (const how of ['left', 'top', 'spacing']) {
  $(`[data-action="align-${how}"]`).addEventListener('click', () => alignSelected(how));
}
