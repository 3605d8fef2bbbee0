// The script on disk, watched while the page is shown: when someone else
// writes it (an editor, another page's save), the author chooses between
// reloading it with their edits carried over, and dropping their edits.
// Edits that clash with the change on disk are listed, never lost silently.
'use strict';

const DISK_CHECK_MS = 2000;
let diskChecking = false;

async function checkDisk() {
  // While the page's own requests are out its base may be about to change.
  if (diskChecking || pending > 0 || !state.base || document.visibilityState !== 'visible') return;
  diskChecking = true;
  const base = state.base;
  try {
    const response = await fetch(`/api/disk?token=${token}&base=${encodeURIComponent(base)}`);
    const answer = await response.json();
    // An answer about a text the page has left since says nothing.
    if (response.ok && base === state.base) showDiskChange(!answer.same, answer.problem);
  } catch (error) {
    // The designer has stopped, or is busy: the next check asks again.
  } finally {
    diskChecking = false;
  }
}

function showDiskChange(changed, problem) {
  const notice = $('#disk-notice');
  notice.hidden = !changed;
  notice.querySelector('.why').textContent = problem ? ` (${problem})` : '';
}

// The script as it is on disk, with this page's edits carried over to it.
async function reloadKeepingEdits() {
  try {
    ++refreshes;
    const answer = await post('/api/rebase', request());
    state.edits = answer.edits;
    state.undo = [];
    state.redo = [];
    // A selection may name an entry by its line, which may have moved.
    state.selected = null;
    state.also.clear();
    took(answer.model);
    draw();
    showDiskChange(false);
    showConflicts(answer.conflicts);
    setStatus(answer.conflicts.length ? `reloaded; ${answer.conflicts.length} of your edits clash with the change on disk`
                                      : 'reloaded, your edits kept');
  } catch (error) {
    setStatus(`your edits could not be carried over: ${error.message}`, true);
  }
}

async function discardAndReload() {
  await reload();
  showDiskChange(false);
  showConflicts([]);
}

// The edits not carried over: the line as this page loaded it, as the author
// made it, and as it is on disk now (which is what the script keeps).
function showConflicts(conflicts) {
  const box = $('#disk-conflicts');
  const list = box.querySelector('ul');
  list.replaceChildren();
  for (const conflict of conflicts) {
    const row = document.createElement('li');
    row.dataset.line = String(conflict.line);
    const mine = conflict.deleted ? 'yours: deleted' : `yours: ${conflict.mine}`;
    const theirs = conflict.theirLine ? `on disk (line ${conflict.theirLine}): ${conflict.theirs}` : 'on disk: deleted';
    row.textContent = `line ${conflict.line} as loaded: ${conflict.original}\n${mine}\n${theirs}`;
    list.appendChild(row);
  }
  box.hidden = conflicts.length === 0;
}

$('[data-action="disk-keep"]').addEventListener('click', reloadKeepingEdits);
$('[data-action="disk-discard"]').addEventListener('click', discardAndReload);
$('[data-action="conflicts-dismiss"]').addEventListener('click', () => showConflicts([]));
document.addEventListener('visibilitychange', checkDisk);
window.addEventListener('focus', checkDisk);
setInterval(checkDisk, DISK_CHECK_MS);
