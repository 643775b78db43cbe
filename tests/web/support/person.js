// What a person does on the page, by the controls' visible names, and what the console tool
// writes for the same folder, so that a test compares the two file by file.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const {execFileSync, spawnSync} = require('node:child_process');
const assert = require('node:assert/strict');
const fflate = require('fflate');
const zf = require('../../../src/web/page/zipfiles.js');
const {filesUnder} = require('./folders.js');

const REPO = path.resolve(__dirname, '../../..');
const CONSOLE = process.env.VESSORY_EXPORT || path.join(REPO, 'build/vessory-export');
const LONG = 180000;

async function chooseFolder(page, folder) {
  await page.getByLabel('Choose a folder').setInputFiles(folder);
  await waitForScan(page);
}

async function chooseFiles(page, files) {
  await page.getByLabel('Choose files').setInputFiles(files);
  await waitForScan(page);
}

// Drops one file on the drop zone, as a file manager's drag does.
async function dropFile(page, file) {
  const base64 = fs.readFileSync(file).toString('base64');
  await page.evaluate(([name, data]) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes], name));
    const zone = document.getElementById('drop-zone');
    zone.dispatchEvent(
        new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
  }, [path.basename(file), base64]);
  await waitForScan(page);
}

// The list of what was found, once the worker has answered.
async function waitForScan(page) {
  await page.locator('#found p').first().waitFor({timeout: LONG});
  return page.locator('#found').innerText();
}

async function exportAll(page) {
  await page.getByRole('button', {name: 'Export'}).click();
  await page.locator('#result').waitFor({state: 'visible', timeout: LONG});
  return page.locator('#summary').innerText();
}

// A zip's files by path; every one must be whole.
function unzip(bytes) {
  const {files, damaged} = zf.readZip(new Uint8Array(bytes), fflate.inflateSync);
  assert.deepEqual(damaged, []);
  return new Map(files.map((f) => [f.path, Buffer.from(f.data)]));
}

// The files of "Download all (.zip)", by path.
async function downloadAll(page) {
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.getByRole('button', {name: 'Download all (.zip)'}).click(),
  ]);
  return {name: download.suggestedFilename(), files: unzip(fs.readFileSync(await download.path()))};
}

// The console tool's `--all` run: exit status, what it printed, and its files by path.
function consoleExport(folder, out, args = []) {
  fs.rmSync(out, {recursive: true, force: true});
  const run = spawnSync(CONSOLE, ['--all', folder, '-o', out, ...args], {encoding: 'utf8'});
  const status = run.status;
  const printed = `${run.stdout}${run.stderr}`;
  const files = new Map();
  if (fs.existsSync(out))
    for (const rel of filesUnder(out)) files.set(rel, fs.readFileSync(path.join(out, rel)));
  return {status, printed, files, folder, out};
}

// `--list-journals` of a date book: [count, description] pairs as text.
function consoleList(datebook) {
  const printed = execFileSync(CONSOLE, ['--list-journals', datebook], {encoding: 'utf8'});
  return printed.trim().split('\n').map((line) => line.split('\t'));
}

// A calendar's bytes without its DTSTAMP lines, which say when the file was written.
function comparable(rel, bytes) {
  if (!/\.ics$/i.test(rel)) return bytes;
  return Buffer.from(bytes.toString('utf8').replace(/^DTSTAMP:[^\r\n]*\r?\n/gm, ''));
}

// Every file of the console's output is in the download with the same bytes, and nothing else.
function assertSameFiles(downloaded, expected, what) {
  assert.deepEqual(
      [...downloaded.keys()].sort(), [...expected.keys()].sort(), `${what}: file names`);
  for (const [rel, bytes] of expected) {
    const got = comparable(rel, downloaded.get(rel));
    assert.ok(got.equals(comparable(rel, bytes)), `${what}: ${rel} differs from the console's`);
  }
}

// The page's summary and the console's, each with its output folder as "<out>" (the page's
// is /out/N) and the console's input folder as the page's.
function summaries(pageText, native, folder, pageFolder) {
  const page = pageText.replace(/\/out\/\d+/g, '<out>').trim();
  const printed = native.printed.split(native.out).join('<out>').split(folder).join(pageFolder);
  return [page, printed.trim()];
}

module.exports = {
  chooseFolder,
  chooseFiles,
  dropFile,
  waitForScan,
  exportAll,
  downloadAll,
  unzip,
  consoleExport,
  consoleList,
  assertSameFiles,
  summaries,
  LONG,
};
