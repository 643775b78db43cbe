// The page's zip reading and writing and where chosen files are placed (node --test).
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fflate = require('fflate');
const zf = require('../../src/web/page/zipfiles.js');
const {buildZip, unicodePathExtra} = require('./support/zip_builder.js');

const UTF8_FLAG = 0x0800;
const text = (bytes) => Buffer.from(bytes).toString('utf8');

test('names come out right whatever wrote them', () => {
  const cases = [
    ['plain ASCII', 'SmithJ/Datebook.dat', 0, null, 'SmithJ/Datebook.dat'],
    [
      'CP437 without the flag',
      Buffer.from([0x8e, 0x64, 0x72, 0x65, 0x73, 0x73, 0x2e, 0x64, 0x61, 0x74]), 0, null,
      'Ädress.dat'
    ],
    [
      'CP437 box and Greek', Buffer.from([0x4a, 0xe1, 0x9b, 0xe0, 0x2e, 0x44, 0x42, 0x41]), 0, null,
      'Jß¢α.DBA'
    ],
    ['UTF-8 with the flag', 'Müller/Datebook.dat', UTF8_FLAG, null, 'Müller/Datebook.dat'],
    ['UTF-8 without the flag (macOS, Linux)', 'Jürgen/日記.dat', 0, null, 'Jürgen/日記.dat'],
    [
      'Unicode path field beside a CP437 name', Buffer.from([0x81, 0x2e, 0x64, 0x61, 0x74]), 0,
      unicodePathExtra('ü-ø.dat'), 'ü-ø.dat'
    ],
  ];
  for (const [what, name, flags, extra, expected] of cases) {
    const zip = buildZip([{name, flags, extra: extra ?? undefined, data: 'x'}]);
    const {files, damaged} = zf.readZip(zip, fflate.inflateSync);
    assert.deepEqual(damaged, [], what);
    assert.equal(files[0].path, expected, what);
  }
});

test('the download\'s names are UTF-8, flagged, and every byte comes back', () => {
  const files = [
    {path: 'calendar.ics', data: new TextEncoder().encode('BEGIN:VCALENDAR\r\n')},
    {path: 'memos/Geschäft/Zürich.txt', data: new Uint8Array([0, 255, 128, 10])},
    {path: 'journal.csv', data: new Uint8Array(200000).map((_, i) => (i * 7) % 251)},
  ];
  const zip = zf.writeZip(files, fflate.zipSync);
  const back = zf.readZip(zip, fflate.inflateSync);
  assert.deepEqual(back.damaged, []);
  assert.deepEqual(back.files.map((f) => f.path), files.map((f) => f.path));
  back.files.forEach((f, i) => assert.deepEqual(Buffer.from(f.data), Buffer.from(files[i].data)));
  const flags = centralFlags(zip);
  assert.deepEqual(flags.map((f) => Boolean(f & UTF8_FLAG)), [false, true, false]);
});

// The general-purpose flags of each central directory entry, in order.
function centralFlags(zip) {
  const buf = Buffer.from(zip);
  const flags = [];
  for (let at = buf.indexOf(Buffer.from([0x50, 0x4b, 1, 2])); at >= 0;
       at = buf.indexOf(Buffer.from([0x50, 0x4b, 1, 2]), at + 4))
    flags.push(buf.readUInt16LE(at + 8));
  return flags;
}

test('a zip that cannot be read at all is refused in words', () => {
  const good = buildZip([{name: 'Datebook.dat', data: '0123456789'}]);
  const cases = [
    ['no zip at all', new TextEncoder().encode('This is a text file, not a zip.'), /no zip file/],
    ['empty', new Uint8Array(0), /no zip file/],
    ['its end cut off', good.subarray(0, good.length - 10), /no zip file/],
    ['its list of files cut', good.subarray(good.length - 22 - 10), /ends inside|damaged/],
  ];
  for (const [what, bytes, message] of cases) {
    assert.throws(
        () => zf.readZip(bytes, fflate.inflateSync),
        (e) => e instanceof zf.ZipError && message.test(e.message), what);
  }
});

test('a damaged file in a zip is named with why, and the others still come out', () => {
  const cases = [
    ['checksum differs', {data: 'abc', crc: 12345}, /checksum differs/],
    ['encrypted', {data: 'abc', flags: 1}, /encrypted/],
    ['unknown method', {data: 'abc', method: 14}, /method \(14\)/],
    ['bad deflate data', {data: Buffer.from([0xff, 0xff, 0xff]), method: 8}, /damaged/],
  ];
  for (const [what, entry, reason] of cases) {
    const zip = buildZip([{name: 'bad.dat', ...entry}, {name: 'good.dat', data: 'fine'}]);
    const {files, damaged} = zf.readZip(zip, fflate.inflateSync);
    assert.equal(damaged.length, 1, what);
    assert.equal(damaged[0].path, 'bad.dat', what);
    assert.match(damaged[0].reason, reason, what);
    assert.deepEqual(files.map((f) => [f.path, text(f.data)]), [['good.dat', 'fine']], what);
  }
});

test('a zip\'s files go where unpacking it by hand puts them', () => {
  const cases = [
    [
      'one top folder: beside the zip', 'SmithJ.zip',
      ['SmithJ/datebook/Datebook.dat', 'SmithJ/todo/ToDo.dat'],
      ['SmithJ/datebook/Datebook.dat', 'SmithJ/todo/ToDo.dat']
    ],
    [
      'loose files: a folder of the zip\'s name', 'SmithJ.ZIP',
      ['datebook/Datebook.dat', 'ToDo.dat'], ['SmithJ/datebook/Datebook.dat', 'SmithJ/ToDo.dat']
    ],
    ['a single file', 'backup.zip', ['DatebookDB.pdb'], ['backup/DatebookDB.pdb']],
  ];
  for (const [what, zip, paths, expected] of cases)
    assert.deepEqual(zf.unpackedPaths(zip, paths), expected, what);
});

test('the folder exported is the one every chosen file lies in', () => {
  const cases = [
    [
      'a chosen user folder', ['SmithJ/datebook/Datebook.dat', 'SmithJ/Backup/MemoDB.pdb'], 'SmithJ'
    ],
    ['loose files', ['Datebook.dat', 'ToDo.dat'], ''],
    ['a folder and a loose file', ['SmithJ/Datebook.dat', 'ToDo.dat'], ''],
    ['two user folders', ['SmithJ/Datebook.dat', 'JonesA/Datebook.dat'], ''],
    ['nothing', [], ''],
  ];
  for (const [what, paths, expected] of cases) assert.equal(zf.exportRoot(paths), expected, what);
});

test('names from a zip cannot leave its folder, and only chosen zips are unpacked', () => {
  const paths = [
    ['../../etc/passwd', 'etc/passwd'],
    ['/abs/Datebook.dat', 'abs/Datebook.dat'],
    ['C:\\Palm\\SmithJ\\Datebook.dat', 'Palm/SmithJ/Datebook.dat'],
    ['a/./b//c', 'a/b/c'],
  ];
  for (const [name, expected] of paths) assert.equal(zf.safePath(name), expected, name);
  const zips = [
    ['SmithJ.zip', true], ['old.ZIP', true], ['SmithJ/Backup/old.zip', false],
    ['Datebook.dat', false]
  ];
  for (const [path, expected] of zips) assert.equal(zf.isChosenZip(path), expected, path);
});
