// The page's Web Worker: holds the core module for the page's whole life, writes the chosen
// files into the core's in-memory file system (/in), asks it what it finds, runs the export
// into /out and hands back the summary, each file written and the zip of them. All export
// rules are the core's; this file only moves bytes. Messages (page -> worker):
//   {type: "choose", files: [{path, file}]}   -> "reading" progress, then "scanned"
//   {type: "export", options}                  -> "progress"..., then "exported"
//   {type: "stop"}                             -> asks a running export to stop
//   {type: "zip"}                              -> "zipped": the zip of the last run's files
// A failure of any step comes back as {type: "failed", step, message}.
'use strict';

importScripts('fflate.js', 'zipfiles.js', 'vessory-core.js');

const IN = '/in';
const OUT = '/out';
const READ_BATCH = 64;

let core = null;
let root = IN;
let exporting = false;
// Each run writes into a folder of its own (/out/1, /out/2, ...), as the core asks.
let runs = 0;
let lastOutputs = [];

const coreReady =
    createVessoryCore({
      print: () => {},
      printErr: () => {},
      onVessoryProgress: (done, total, text) => post({type: 'progress', done, total, text}),
    }).then((module) => {
      core = module;
      return module;
    });

function post(message, transfer) {
  self.postMessage(message, transfer || []);
}

function removeTree(FS, path) {
  if (!FS.analyzePath(path).exists) return;
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const child = `${path}/${name}`;
    if (FS.isDir(FS.stat(child).mode))
      removeTree(FS, child);
    else
      FS.unlink(child);
  }
  FS.rmdir(path);
}

function writeInto(FS, path, data) {
  const full = `${IN}/${path}`;
  FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
  FS.writeFile(full, data);
}

// Reads the chosen files, a few at a time; a file the browser cannot read is named with why.
async function readAll(files) {
  const read = [];
  const unreadable = [];
  for (let i = 0; i < files.length; i += READ_BATCH) {
    const batch = files.slice(i, i + READ_BATCH);
    const results = await Promise.allSettled(
        batch.map(
            ({file, unreadable}) =>
                (unreadable ? Promise.reject({name: unreadable}) : file.arrayBuffer())),
    );
    results.forEach((result, k) => {
      const {path} = batch[k];
      if (result.status === 'fulfilled')
        read.push({path, data: new Uint8Array(result.value)});
      else
        unreadable.push(
            {path, reason: `the browser could not read it (${errorName(result.reason)})`});
    });
    post({type: 'reading', done: Math.min(i + READ_BATCH, files.length), total: files.length});
  }
  return {read, unreadable};
}

function describe(error) {
  return error && error.message ? `${error.name}: ${error.message}` : String(error);
}

function errorName(error) {
  return (error && (error.name || error.message)) || String(error);
}

// A chosen zip's files in its place; a zip that cannot be read is left alone with the reason.
function unpack(file, leftAlone) {
  try {
    const {files, damaged} = zipFiles.readZip(file.data, fflate.inflateSync);
    const paths = zipFiles.unpackedPaths(file.path, files.map((f) => f.path));
    const damagedPaths = zipFiles.unpackedPaths(file.path, damaged.map((f) => f.path));
    damaged.forEach(
        (d, i) => leftAlone.push({path: damagedPaths[i], reason: `in ${file.path}: ${d.reason}`}));
    if (files.length === 0 && damaged.length === 0)
      leftAlone.push({path: file.path, reason: 'the zip holds no file'});
    return files.map((f, i) => ({path: paths[i], data: f.data}));
  } catch (e) {
    if (!(e instanceof zipFiles.ZipError)) throw e;
    leftAlone.push({path: file.path, reason: `the zip cannot be read: ${e.message}`});
    return [];
  }
}

async function choose(files) {
  const FS = (await coreReady).FS;
  removeTree(FS, IN);
  removeTree(FS, OUT);
  FS.mkdirTree(IN);
  const {read, unreadable} = await readAll(files);
  const pageLeftAlone = [...unreadable];
  const placed = [];
  for (const file of read) {
    if (zipFiles.isChosenZip(file.path))
      placed.push(...unpack(file, pageLeftAlone));
    else
      placed.push(file);
  }
  for (const file of placed) writeInto(FS, file.path, file.data);
  const folder = zipFiles.exportRoot(placed.map((f) => f.path));
  root = folder ? `${IN}/${folder}` : IN;
  const scan = JSON.parse(core.ccall('vessory_scan', 'string', ['string'], [root]));
  const name = folder || (files.length === 1 ? files[0].path.replace(/\.zip$/i, '') : 'vessory');
  post({type: 'scanned', scan, pageLeftAlone, fileCount: placed.length, name});
}

function collectOutputs(FS, outFolder) {
  const paths = JSON.parse(core.ccall('vessory_outputs', 'string', [], []));
  const outputs = [];
  for (const path of paths) {
    const full = `${outFolder}/${path}`;
    if (FS.analyzePath(full).exists) outputs.push({path, data: FS.readFile(full)});
  }
  return outputs;
}

async function runExport(options) {
  const FS = (await coreReady).FS;
  removeTree(FS, OUT);
  FS.mkdirTree(OUT);
  const outFolder = `${OUT}/${++runs}`;
  exporting = true;
  let status;
  try {
    status = await core.ccall(
        'vessory_export',
        'number',
        ['string', 'string', 'string'],
        [root, outFolder, JSON.stringify(options)],
        {async: true},
    );
  } finally {
    exporting = false;
  }
  const summary = core.ccall('vessory_summary', 'string', [], []);
  lastOutputs = collectOutputs(FS, outFolder);
  // Copies go to the page, moved rather than cloned; the worker keeps its own for the zip.
  const files = lastOutputs.map(({path, data}) => ({path, data: data.slice()}));
  post({type: 'exported', status, summary, files}, files.map((f) => f.data.buffer));
}

// The zip of the last run's files, made when asked for: the export does not wait for it.
function zipLast() {
  const zip = zipFiles.writeZip(lastOutputs, fflate.zipSync);
  post({type: 'zipped', zip: new Blob([zip], {type: 'application/zip'})});
  return Promise.resolve();
}

const steps = {
  choose: (m) => choose(m.files),
  export: (m) => runExport(m.options),
  zip: zipLast,
};

self.onmessage = (event) => {
  const message = event.data;
  if (message.type === 'stop') {
    if (exporting && core) core._vessory_request_stop();
    return;
  }
  const step = steps[message.type];
  if (!step) return;
  step(message).catch(
      (error) => post({type: 'failed', step: message.type, message: describe(error)}));
};

coreReady.then(() => post({type: 'ready'}));
coreReady.catch((error) => post({type: 'failed', step: 'load', message: describe(error)}));
