// The screen as the program draws it: each text as the program writes it
// (pictures the server rasterises in the typeface Wine uses), what the
// program puts behind a text, the reason where a picture cannot be shown,
// and the whole screen as pixels for the comparison with the program under
// Wine. Uses designer.js's state, COLOURS, pictureUrl, frameOf, loadImage.
'use strict';

const NORMAL_HIDE = -1;
const NORMAL_HELP = -2;
const CHANNEL_TOLERANCE = 8;

// What the program puts on the screen for a text: nothing at all, or the
// rectangle filled or restored from the background picture, then the text
// in a colour (or no text).
function textLook(text, highlighted, hasBackground) {
  if (!highlighted && text.normalColour === NORMAL_HELP) return {nothing: true};
  const look = {nothing: false, fill: null, restore: false, colour: null};
  if (highlighted && text.highlightBackground >= 0) look.fill = text.highlightBackground;
  else look.restore = hasBackground;
  if (!highlighted && text.normalColour === NORMAL_HIDE) return look;
  look.colour = highlighted ? text.highlightColour : text.normalColour;
  return look;
}

// The server's picture of the text in a colour, over what the look puts
// under it (then the picture is opaque, blended as Wine blends), at the
// screen's scale.
function textPictureUrl(text, colour, look = {}) {
  const scale = screenScale();
  const params = new URLSearchParams({token, text: text.text, width: Math.round(text.width * scale),
                                      height: Math.round(text.height * scale),
                                      colour: (COLOURS[colour] || '#000000').slice(1)});
  if (scale > 1) params.set('scale', scale);
  if (look.fill !== null && look.fill !== undefined) {
    params.set('fill', COLOURS[look.fill].slice(1));
  } else if (look.restore) {
    params.set('back', state.model.background);
    params.set('x', text.x * scale);
    params.set('y', text.y * scale);
  }
  const font = text.font;
  if (!font) {
    params.set('system', '1');
  } else {
    if (font.face) params.set('face', font.face);
    if (font.height) params.set('size', font.height);
    for (const style of ['bold', 'italic', 'underline', 'strikeOut']) {
      if (font[style]) params.set(style.toLowerCase(), '1');
    }
  }
  return `/text.png?${params}`;
}

function hasArea(place) { return place.width > 0 && place.height > 0; }

// Styles a text's element as the program draws the text there.
function paintText(element, text, highlighted) {
  const background = state.model.background;
  const look = textLook(text, highlighted, Boolean(background));
  element.style.background = 'none';
  element.style.color = 'transparent';
  if (look.nothing || !hasArea(text)) return look;
  const layers = [];
  // The picture is made at the screen's scale: one of its pixels to one of
  // the enlarged screen's.
  if (look.colour !== null) {
    layers.push(`url("${textPictureUrl(text, look.colour, look)}") 0 0 / ${text.width}px ${text.height}px no-repeat`);
  }
  if (look.restore) layers.push(`url("${pictureUrl(background)}") ${-text.x}px ${-text.y}px no-repeat`);
  element.style.background = layers.join(', ') || 'none';
  if (look.fill !== null) element.style.backgroundColor = COLOURS[look.fill];
  return look;
}

// --- Pictures the page cannot show ----------------------------------------

const pictureProblems = new Map();  // path -> the server's reason, '' while none is known

function pictureProblem(path) {
  if (!pictureProblems.has(path)) {
    pictureProblems.set(path, '');
    fetch(pictureUrl(path)).then(async (response) => {
      if (response.ok) return;
      const answer = await response.json().catch(() => ({}));
      pictureProblems.set(path, answer.error || response.statusText);
      redrawWithFaults();
    });
  }
  return pictureProblems.get(path);
}

// Writes the reason a picture is not shown where the picture goes.
function markPictureProblem(element, path) {
  const why = path && pictureProblem(path);
  if (!why) return;
  const note = document.createElement('div');
  note.className = 'picture-problem';
  note.textContent = why;
  element.appendChild(note);
}

// --- The program's screen as pixels ----------------------------------------

// The screen at rest as the program paints it: the background, each button
// in its frame followed by its caption and extra text, then the focus button
// and its texts once more, highlighted. Also the rectangles the texts drew in.
async function programDrawing(width, height) {
  const model = state.model;
  const scale = screenScale();
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d');
  context.imageSmoothingEnabled = false;  // pictures are enlarged pixel for pixel
  // A picture's part, enlarged by the screen's scale, at a place of the script.
  const put = (image, sx, sy, w, h, x, y) => context.drawImage(image, sx, sy, w, h, x * scale, y * scale, w * scale, h * scale);
  const back = model.background ? await loadImage(pictureUrl(model.background)).catch(() => null) : null;
  if (back) put(back, 0, 0, back.width, back.height, 0, 0);
  const texts = new Map(model.texts.map((text) => [text.number, text]));
  const rectangles = [];
  const drawTextAt = async (text, highlighted) => {
    const look = textLook(text, highlighted, Boolean(back));
    if (look.nothing || !hasArea(text)) return;
    rectangles.push([text.x, text.y, text.x + text.width, text.y + text.height].map((edge) => Math.round(edge * scale)));
    if (look.fill !== null) {
      context.fillStyle = COLOURS[look.fill];
      context.fillRect(text.x * scale, text.y * scale, Math.round(text.width * scale), Math.round(text.height * scale));
    } else if (look.restore) {
      put(back, text.x, text.y, text.width, text.height, text.x, text.y);
    }
    if (look.colour !== null) {
      context.drawImage(await loadImage(textPictureUrl(text, look.colour, look)), text.x * scale, text.y * scale);
    }
  };
  const drawButton = async (button, highlighted) => {
    if (button.picture && hasArea(button)) {
      const strip = await loadImage(pictureUrl(button.picture)).catch(() => null);
      if (strip) {
        put(strip, frameOf(button, highlighted) * button.width, 0, button.width, button.height, button.x, button.y);
      }
    }
    for (const number of [button.caption, button.extraText]) {
      if (texts.has(number)) await drawTextAt(texts.get(number), highlighted);
    }
  };
  const lit = focusButton();
  // HIDE (-1) hides no button: the program draws it at rest.
  for (const button of model.buttons) await drawButton(button, button === lit);
  if (lit) await drawButton(lit, true);
  return {pixels: context.getImageData(0, 0, width, height).data, rectangles};
}

// The shares of pixels, inside the texts' rectangles and outside them, where
// a channel of the program's picture differs from the drawing by more than 8.
async function compareWithProgram(truth) {
  const scale = screenScale();
  const width = Math.min(truth.width, (state.model.width || truth.width) * scale);
  const height = Math.min(truth.height, (state.model.height || truth.height) * scale);
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d');
  context.drawImage(truth, 0, 0);
  const theirs = context.getImageData(0, 0, width, height).data;
  const {pixels: ours, rectangles} = await programDrawing(width, height);
  const inside = new Uint8Array(width * height);
  for (const [left, top, right, bottom] of rectangles) {
    for (let y = Math.max(0, top); y < Math.min(height, bottom); ++y) {
      inside.fill(1, y * width + Math.max(0, left), y * width + Math.max(0, Math.min(width, right)));
    }
  }
  const counted = [0, 0];
  const differing = [0, 0];
  for (let at = 0; at < width * height; ++at) {
    const place = inside[at];
    ++counted[place];
    const p = at * 4;
    if (Math.abs(ours[p] - theirs[p]) > CHANNEL_TOLERANCE || Math.abs(ours[p + 1] - theirs[p + 1]) > CHANNEL_TOLERANCE ||
        Math.abs(ours[p + 2] - theirs[p + 2]) > CHANNEL_TOLERANCE) ++differing[place];
  }
  const share = (place) => (counted[place] ? differing[place] / counted[place] : 0);
  return {outside: share(0), inside: share(1)};
}
