// The try page: the run's display through noVNC, live, and beside it the
// log of what the program did, read from the tool as it grows. Sounds the
// program plays are played here from the disc's files (the stream carries
// no audio).
import RFB from './novnc/@TOKEN@/core/rfb.js';

const TOKEN = '@TOKEN@';
const STREAM = `ws://${location.hostname}:@STREAM_PORT@/websockify?token=${TOKEN}`;
const LOG_INTERVAL_MS = 250;

const state = document.getElementById('state');
const logList = document.getElementById('log');
let next = 0;
let ended = false;

let rfb = null;

// The display is joined once the tool says it is served, and again after
// a loss while the run goes on.
function connect() {
  rfb = new RFB(document.getElementById('screen'), STREAM);
  rfb.scaleViewport = false;
  rfb.addEventListener('connect', () => { state.textContent = 'live'; document.body.dataset.stream = 'connected'; });
  rfb.addEventListener('disconnect', () => {
    rfb = null;
    document.body.dataset.stream = 'closed';
    state.textContent = ended ? 'the run has ended' : 'reconnecting…';
  });
  window.discscreenStream = rfb;
}

function play(file) {
  const sound = new Audio(`sound?token=${TOKEN}&path=${encodeURIComponent(file)}`);
  sound.play().then(() => { logList.lastElementChild.dataset.played = 'yes'; }).catch(() => {});
}

function show(entry) {
  const item = document.createElement('li');
  item.dataset.kind = entry.kind;
  item.dataset.entry = JSON.stringify(entry);
  const time = document.createElement('time');
  time.textContent = `${(entry.ms / 1000).toFixed(1)} s`;
  item.append(time, ' ', entry.text);
  if (entry.script) {
    const script = document.createElement('pre');
    script.textContent = entry.script;
    item.append(script);
  }
  logList.append(item);
  item.scrollIntoView({block: 'nearest'});
  if (entry.kind === 'sound') play(entry.file);
}

async function readLog() {
  try {
    const response = await fetch(`api/log?token=${TOKEN}&since=${next}`, {cache: 'no-store'});
    const answer = await response.json();
    for (const entry of answer.entries) { show(entry); next = entry.n + 1; }
    if (!answer.running) throw new Error('ended');
    if (answer.display && !rfb) connect();
  } catch (error) {
    ended = true;
    state.textContent = 'the run has ended';
    document.body.dataset.run = 'ended';
    return;
  }
  setTimeout(readLog, LOG_INTERVAL_MS);
}
readLog();

function end() {
  if (ended) return;
  ended = true;
  navigator.sendBeacon(`api/end?token=${TOKEN}`);
}
document.getElementById('end').addEventListener('click', end);
window.addEventListener('pagehide', end);
