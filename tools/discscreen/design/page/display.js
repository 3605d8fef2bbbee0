// The display the screen is drawn for. From Vista on the program takes one
// whole factor from the display's DPI and draws everything that many times
// larger: pictures pixel for pixel, fonts made at the larger size. The
// server's reading says the factor for the chosen Windows (model.scale); the
// page keeps the script's own places and shows them enlarged.
'use strict';

const DISPLAYS = [[96, '100 %'], [120, '125 %'], [144, '150 %'], [192, '200 %'], [288, '300 %']];

function screenScale() {
  return (state.model && state.model.scale) || 1;
}

// Enlarges the drawn screen by the factor; its frame takes the larger size.
function showScale(screen) {
  const scale = screenScale();
  screen.classList.toggle('scaled', scale > 1);
  screen.style.transform = scale > 1 ? `scale(${scale})` : '';
  const frame = $('#screen-frame');
  frame.style.width = scale > 1 ? `${(state.model.width || 640) * scale}px` : '';
  frame.style.height = scale > 1 ? `${(state.model.height || 480) * scale}px` : '';
}

{
  const list = $('[data-action="dpi"]');
  for (const [dpi, label] of DISPLAYS) list.add(new Option(`${label} (${dpi} DPI)`, String(dpi), false, dpi === state.dpi));
  list.addEventListener('change', () => { state.dpi = Number(list.value); refresh(); });
}
