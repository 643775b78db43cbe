// User folders for the page's tests, made at test time in a temporary folder from the
// repository's samples and the shared kits' inputs (read where they lie, never copied into the
// repository): each kind a person may choose, and the bad input the page must put in words.
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const fflate = require('fflate');
const {buildZip} = require('./zip_builder.js');

const REPO = path.resolve(__dirname, '../../..');
const SHARED = process.env.VESSORY_SHARED || path.resolve(REPO, '../shared');
const SAMPLES = path.join(REPO, 'samples');

function tempFolder(prefix) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `vessory-web-${prefix}-`));
}

function copyFile(from, to) {
  fs.mkdirSync(path.dirname(to), {recursive: true});
  fs.copyFileSync(from, to);
}

// Every file under `dir`, as paths relative to it with "/" between parts, sorted.
function filesUnder(dir, prefix = '') {
  const out = [];
  for (const entry of fs.readdirSync(path.join(dir, prefix), {withFileTypes: true})) {
    const rel = prefix ? `${prefix}/${entry.name}` : entry.name;
    if (entry.isDirectory())
      out.push(...filesUnder(dir, rel));
    else
      out.push(rel);
  }
  return out.sort();
}

// The desktop user folder of the four sample archives, in their kind folders.
function desktopFolder(parent, name) {
  const user = path.join(parent, name);
  for (const [file, kind] of [
           ['Datebook.dat', 'datebook'],
           ['Address.dat', 'address'],
           ['ToDo.dat', 'todo'],
           ['MemoPad.dat', 'memopad'],
  ])
    copyFile(path.join(SAMPLES, file), path.join(user, kind, file));
  return user;
}

function copyTree(from, to) {
  fs.cpSync(from, to, {recursive: true});
  return to;
}

// A kit's user folder, copied into the temporary folder under the same name.
function kitFolder(parent, kitPath) {
  const from = path.join(SHARED, kitPath);
  return copyTree(from, path.join(parent, path.basename(from)));
}

// Non-ASCII folder and file names: an accented user, a category-named archive file.
function nonAsciiFolder(parent) {
  const user = desktopFolder(parent, 'Jürgen Åström 日記');
  const later = path.join(SHARED, 'desktop-later/cases/026-later-user-folder/later/SmithJ');
  copyFile(path.join(later, 'datebook/Unfiled.DBA'), path.join(user, 'datebook/Geschäft.DBA'));
  return user;
}

// A desktop user folder whose date book was cut short.
function damagedFolder(parent) {
  const user = desktopFolder(parent, 'SmithJ');
  const datebook = path.join(user, 'datebook/Datebook.dat');
  fs.truncateSync(datebook, 3000);
  return user;
}

const CP437_HIGH = 'ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐' +
    '└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00a0';

function cp437Bytes(name) {
  const missing = [...name].filter((c) => c.charCodeAt(0) >= 0x80 && !CP437_HIGH.includes(c));
  if (missing.length) throw new Error(`CP437 has no ${missing.join('')}`);
  return Buffer.from(
      [...name].map(
          (c) => (c.charCodeAt(0) < 0x80 ? c.charCodeAt(0) : 0x80 + CP437_HIGH.indexOf(c))),
  );
}

// A zip of `folder` (its name as the top folder): names in UTF-8 with the flag (fflate, as
// most tools write today), or in CP437 without it (as older Windows zip tools wrote them).
function zipOf(folder, zipPath, names) {
  const top = path.basename(folder);
  const files = filesUnder(folder).map((rel) => ({
                                         name: `${top}/${rel}`,
                                         data: fs.readFileSync(path.join(folder, rel)),
                                       }));
  let bytes;
  if (names === 'cp437') {
    bytes = buildZip(files.map((f) => ({name: cp437Bytes(f.name), data: f.data})));
  } else {
    bytes = fflate.zipSync(Object.fromEntries(files.map((f) => [f.name, new Uint8Array(f.data)])));
  }
  fs.writeFileSync(zipPath, bytes);
  return zipPath;
}

// A big date book for a long run, from the bench's generator.
function bigDatebookFolder(parent, records) {
  const maker =
      process.env.VESSORY_BENCH_MAKER || path.join(REPO, 'build-bench/make_bench_archive');
  const user = path.join(parent, 'Big');
  fs.mkdirSync(path.join(user, 'datebook'), {recursive: true});
  execFileSync(maker, [String(records), path.join(user, 'datebook/Datebook.dat'), 'datebook']);
  return user;
}

module.exports = {
  SAMPLES,
  SHARED,
  tempFolder,
  copyFile,
  filesUnder,
  desktopFolder,
  kitFolder,
  nonAsciiFolder,
  damagedFolder,
  zipOf,
  bigDatebookFolder,
};
