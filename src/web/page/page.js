// The page's controls: hands what the person chose to the worker, shows what the core found,
// forwards the options, and shows the summary and the files written. It decides nothing about
// exports; every word about an archive comes from the core. One worker lives as long as the
// page, or until it fails, when a new one takes its place.
'use strict';

const $ = (id) => document.getElementById(id);
let worker = null;
let outputName = 'vessory';
let blobUrls = [];

function startWorker() {
  worker = new Worker('worker.js');
  worker.onmessage = (event) => (handlers[event.data.type] || (() => {}))(event.data);
  worker.onerror = (event) => {
    event.preventDefault();
    workerFailed(`the page's worker stopped: ${event.message || 'unknown error'}`);
  };
}

function showProblem(text) {
  $('problem').textContent = text;
  $('problem').hidden = !text;
}

function workerFailed(text) {
  showProblem(`Something went wrong inside the page (${text}). Please choose your files again.`);
  setBusy(false);
  $('reading').hidden = true;
  $('export').disabled = true;
  worker.terminate();
  startWorker();
}

function setBusy(busy) {
  for (const id of ['choose-folder', 'choose-files', 'export']) $(id).disabled = busy;
  for (const el of $('options').elements) el.disabled = busy;
  $('stop').hidden = !busy;
  $('progress').hidden = !busy;
}

// --- Choosing -------------------------------------------------------------------------------

function choose(files) {
  showProblem('');
  $('result').hidden = true;
  $('found').replaceChildren();
  $('export').disabled = true;
  $('reading').hidden = false;
  $('reading-bar').removeAttribute('value');
  worker.postMessage({type: 'choose', files});
}

function chosenFromInput(input) {
  const files =
      [...input.files].map((file) => ({path: file.webkitRelativePath || file.name, file}));
  input.value = '';
  choose(files);
}

// Every file under a dropped folder entry, with its path from the dropped item on.
function filesOfEntry(entry, prefix) {
  if (entry.isFile) {
    return new Promise(
        (resolve) => entry.file(
            (file) => resolve([{path: prefix + entry.name, file}]),
            (error) => resolve([{path: prefix + entry.name, file: null, unreadable: error.name}]),
            ),
    );
  }
  return readFolder(entry.createReader())
      .then(
          (entries) => Promise.all(entries.map((e) => filesOfEntry(e, `${prefix}${entry.name}/`)))
                           .then((lists) => lists.flat()),
      );
}

// A folder's entries: the reader gives them in portions until it gives none.
async function readFolder(reader) {
  const all = [];
  for (;;) {
    const portion = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (portion.length === 0) return all;
    all.push(...portion);
  }
}

async function chosenFromDrop(dataTransfer) {
  const entries =
      [...dataTransfer.items].map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry());
  if (entries.some((e) => !e))
    return [...dataTransfer.files].map((file) => ({path: file.name, file}));
  return (await Promise.all(entries.map((e) => filesOfEntry(e, '')))).flat();
}

// --- What was found -------------------------------------------------------------------------

function listOf(heading, items, line) {
  const section = document.createElement('div');
  const h = document.createElement('h3');
  h.textContent = heading;
  const ul = document.createElement('ul');
  for (const item of items) {
    const li = document.createElement('li');
    li.textContent = line(item);
    ul.append(li);
  }
  section.append(h, ul);
  return section;
}

// The kind, and what the archive is when that says more ("date book, archive file").
function whatItIs({kind, holds}) {
  return holds.includes(kind) ? holds : `${kind}: ${holds}`;
}

function showScan({scan, pageLeftAlone, fileCount, name}) {
  $('reading').hidden = true;
  outputName = `${name}-export`;
  const found = $('found');
  const intro = document.createElement('p');
  intro.textContent = `${fileCount} ${fileCount === 1 ? 'file' : 'files'} chosen.`;
  found.append(intro);
  if (scan.message) {
    const message = document.createElement('p');
    message.className = scan.found.length ? '' : 'problem';
    message.textContent = scan.message;
    found.append(message);
  }
  if (scan.found.length)
    found.append(
        listOf('Archives found', scan.found, (a) => `${a.path} (${whatItIs(a)}) → ${a.output}`));
  const leftAlone = [...pageLeftAlone, ...scan.leftAlone];
  if (leftAlone.length)
    found.append(listOf('Left alone', leftAlone, (f) => `${f.path}: ${f.reason}`));
  $('journals')
      .replaceChildren(
          ...scan.journals.map(
              (j) => new Option(`${j.count} ${j.count === 1 ? 'event' : 'events'}`, j.name)),
      );
  $('export').disabled = scan.found.length === 0;
}

// --- Exporting ------------------------------------------------------------------------------

function options() {
  const form = $('options');
  return {
    journal: form.journal.value,
    keywords: form.keywords.value,
    timeZone: form.timeZone.value.trim(),
    encoding: form.encoding.value.trim(),
    dailyNotes: form.dailyNotes.checked,
    includeDeleted: form.includeDeleted.checked,
  };
}

function startExport() {
  showProblem('');
  $('result').hidden = true;
  $('progress-bar').removeAttribute('value');
  $('progress-text').textContent = 'Exporting';
  setBusy(true);
  $('stop').focus();
  worker.postMessage({type: 'export', options: options()});
}

function showProgress({done, total, text}) {
  const bar = $('progress-bar');
  if (total > 0) {
    bar.max = total;
    bar.value = Math.min(done, total);
  }
  $('progress-text').textContent = text || 'Exporting';
}

function clearDownloads() {
  blobUrls.forEach((url) => URL.revokeObjectURL(url));
  blobUrls = [];
  $('file-links').replaceChildren();
}

// A file's link; its blob URL is made on the first click, since making thousands of them at
// once (a memo pad's files) holds the page up for seconds.
function fileLink(path, data) {
  const a = document.createElement('a');
  a.href = '#';
  a.download = path.split('/').pop();
  a.addEventListener('click', () => {
    if (a.href.startsWith('blob:')) return;
    const url = URL.createObjectURL(new Blob([data]));
    blobUrls.push(url);
    a.href = url;
  });
  a.textContent = path;
  const li = document.createElement('li');
  li.append(a);
  return li;
}

function showExport({summary, files}) {
  setBusy(false);
  clearDownloads();
  $('summary').textContent = summary;
  $('downloads').hidden = files.length === 0;
  $('file-links').replaceChildren(...files.map(({path, data}) => fileLink(path, data)));
  $('result').hidden = false;
  $('summary').focus();
}

function downloadAll() {
  worker.postMessage({type: 'zip'});
}

function saveZip({zip}) {
  const url = URL.createObjectURL(zip);
  const a = document.createElement('a');
  a.href = url;
  a.download = `${outputName}.zip`;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

const handlers = {
  reading: ({done, total}) => {
    $('reading-bar').max = total;
    $('reading-bar').value = done;
  },
  ready: () => (document.body.dataset.core = 'ready'),
  scanned: showScan,
  progress: showProgress,
  exported: showExport,
  zipped: saveZip,
  failed: ({step, message}) => workerFailed(`${step}: ${message}`),
};

// --- Wiring ---------------------------------------------------------------------------------

function fillTimeZones() {
  const zone = Intl.DateTimeFormat().resolvedOptions().timeZone;
  $('time-zone').value = zone || 'UTC';
  const zones = Intl.supportedValuesOf ? Intl.supportedValuesOf('timeZone') : [];
  $('time-zones').replaceChildren(...zones.map((z) => new Option(z, z)));
}

function wireDropZone() {
  const zone = $('drop-zone');
  // The whole page takes a drop, so that a drop beside the zone does not open the file.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    zone.classList.add('over');
  });
  document.addEventListener('dragleave', () => zone.classList.remove('over'));
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    zone.classList.remove('over');
    if ($('export').disabled && !$('stop').hidden) return;
    choose(await chosenFromDrop(event.dataTransfer));
  });
}

document.addEventListener('DOMContentLoaded', () => {
  startWorker();
  fillTimeZones();
  wireDropZone();
  $('choose-folder').addEventListener('change', (e) => chosenFromInput(e.target));
  $('choose-files').addEventListener('change', (e) => chosenFromInput(e.target));
  $('export').addEventListener('click', startExport);
  $('stop').addEventListener('click', () => worker.postMessage({type: 'stop'}));
  $('download-all').addEventListener('click', downloadAll);
});
