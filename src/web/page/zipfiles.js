// Zip files and chosen paths for the page's worker: reads a dropped .zip (names in CP437 or
// UTF-8, damage told in words), writes the download (UTF-8 names, flagged as such), and places
// what was chosen in the core's file system. Pure functions over bytes and strings; the
// compression itself is fflate's, passed in, so that Node's tests load this file as it is.
'use strict';

(function(exports) {
// The 128 characters of code page 437 above ASCII: what a zip name without the UTF-8 flag
// means, as the zip tools of DOS and Windows wrote it.
const CP437_HIGH = 'ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐' +
    '└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00a0';

const SIG_LOCAL = 0x04034b50;
const SIG_CENTRAL = 0x02014b50;
const SIG_END = 0x06054b50;
const SIG_END64 = 0x06064b50;
const SIG_END64_LOCATOR = 0x07064b50;
const FLAG_ENCRYPTED = 0x0001;
const FLAG_UTF8 = 0x0800;
const EXTRA_ZIP64 = 0x0001;
const EXTRA_UNICODE_PATH = 0x7075;
const METHOD_STORED = 0;
const METHOD_DEFLATED = 8;
const END_SIZE = 22;
const MAX_COMMENT = 0xffff;

class ZipError extends Error {}

function cp437ToString(bytes) {
  let text = '';
  for (const b of bytes) text += b < 0x80 ? String.fromCharCode(b) : CP437_HIGH[b - 0x80];
  return text;
}

// UTF-8 when the bytes are valid UTF-8 (fatal decoder), otherwise nothing.
function strictUtf8(bytes) {
  try {
    return new TextDecoder('utf-8', {fatal: true}).decode(bytes);
  } catch (e) {
    return null;
  }
}

// A name's text: flagged UTF-8 as UTF-8; unflagged, UTF-8 when the bytes are valid UTF-8
// (what macOS and Linux tools write without the flag), else CP437. Plain ASCII is both.
function decodeName(bytes, flags) {
  if (flags & FLAG_UTF8) return new TextDecoder('utf-8').decode(bytes);
  return strictUtf8(bytes) ?? cp437ToString(bytes);
}

const CRC_TABLE = (() => {
  const table = new Uint32Array(256);
  for (let n = 0; n < 256; n++) {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[n] = c >>> 0;
  }
  return table;
})();

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

// Little-endian reads that fail in words past the end, as a cut zip needs.
class Reader {
  constructor(bytes) {
    this.bytes = bytes;
    this.view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  }
  check(at, size, what) {
    if (at < 0 || at + size > this.bytes.length) throw new ZipError(`it ends inside ${what}`);
  }
  u16(at, what) {
    this.check(at, 2, what);
    return this.view.getUint16(at, true);
  }
  u32(at, what) {
    this.check(at, 4, what);
    return this.view.getUint32(at, true);
  }
  u64(at, what) {
    return this.u32(at, what) + this.u32(at + 4, what) * 2 ** 32;
  }
  slice(at, size, what) {
    this.check(at, size, what);
    return this.bytes.subarray(at, at + size);
  }
}

function findEnd(r) {
  const last = r.bytes.length - END_SIZE;
  for (let at = last; at >= 0 && at >= last - MAX_COMMENT; at--) {
    if (r.view.getUint32(at, true) === SIG_END) return at;
  }
  throw new ZipError('it is no zip file, or its end is missing');
}

// Where the central directory is and how many entries it has, zip64 included.
function centralDirectory(r) {
  const end = findEnd(r);
  let count = r.u16(end + 10, 'the end record');
  let offset = r.u32(end + 16, 'the end record');
  if (count === 0xffff || offset === 0xffffffff) {
    const locator = end - 20;
    if (r.u32(locator, 'the zip64 locator') !== SIG_END64_LOCATOR)
      throw new ZipError('its zip64 end record is missing');
    const end64 = r.u64(locator + 8, 'the zip64 locator');
    if (r.u32(end64, 'the zip64 end record') !== SIG_END64)
      throw new ZipError('its zip64 end record is damaged');
    count = r.u64(end64 + 32, 'the zip64 end record');
    offset = r.u64(end64 + 48, 'the zip64 end record');
  }
  return {count, offset};
}

// The zip64 sizes and offset, and the Unicode path, of an entry's extra field.
function readExtra(r, at, size, entry) {
  const stop = at + size;
  while (at + 4 <= stop) {
    const id = r.u16(at, 'an extra field');
    const length = r.u16(at + 2, 'an extra field');
    let field = at + 4;
    if (id === EXTRA_ZIP64) {
      for (const key of ['size', 'compressedSize', 'localOffset']) {
        if (entry[key] !== 0xffffffff || field + 8 > at + 4 + length) continue;
        entry[key] = r.u64(field, 'a zip64 field');
        field += 8;
      }
    } else if (id === EXTRA_UNICODE_PATH && length > 5) {
      entry.unicodeName = new TextDecoder('utf-8').decode(r.slice(at + 9, length - 5, 'a name'));
    }
    at += 4 + length;
  }
}

function readCentralEntry(r, at) {
  if (r.u32(at, 'the list of files') !== SIG_CENTRAL)
    throw new ZipError('its list of files is damaged');
  const nameLength = r.u16(at + 28, 'the list of files');
  const extraLength = r.u16(at + 30, 'the list of files');
  const entry = {
    flags: r.u16(at + 8, 'the list of files'),
    method: r.u16(at + 10, 'the list of files'),
    crc: r.u32(at + 16, 'the list of files'),
    compressedSize: r.u32(at + 20, 'the list of files'),
    size: r.u32(at + 24, 'the list of files'),
    localOffset: r.u32(at + 42, 'the list of files'),
  };
  const nameBytes = r.slice(at + 46, nameLength, 'a name');
  readExtra(r, at + 46 + nameLength, extraLength, entry);
  entry.name = entry.unicodeName ?? decodeName(nameBytes, entry.flags);
  const next = at + 46 + nameLength + extraLength + r.u16(at + 32, 'the list of files');
  return {entry, next};
}

// An entry's bytes, or a reason in words why they cannot be had.
function entryData(r, entry, inflateSync) {
  if (entry.flags & FLAG_ENCRYPTED) return {reason: 'it is encrypted'};
  const at = entry.localOffset;
  if (r.u32(at, 'a file\'s header') !== SIG_LOCAL) return {reason: 'its header is damaged'};
  const start = at + 30 + r.u16(at + 26, 'a file\'s header') + r.u16(at + 28, 'a file\'s header');
  let data;
  try {
    const packed = r.slice(start, entry.compressedSize, 'a file\'s data');
    if (entry.method === METHOD_STORED)
      data = packed;
    else if (entry.method === METHOD_DEFLATED)
      data = inflateSync(packed, {out: new Uint8Array(entry.size)});
    else
      return {reason: `it is compressed by a method (${entry.method}) not read here`};
  } catch (e) {
    return {reason: e instanceof ZipError ? e.message : 'its compressed data is damaged'};
  }
  if (data.length !== entry.size || crc32(data) !== entry.crc)
    return {reason: 'it is damaged (its checksum differs)'};
  return {data};
}

// A name as a safe relative path: no leading slash, drive, "." or ".." parts.
function safePath(name) {
  return name.replace(/\\/g, '/')
      .split('/')
      .filter((part) => part !== '' && part !== '.' && part !== '..' && !/^[A-Za-z]:$/.test(part))
      .join('/');
}

// Every file of a zip: {files: [{path, data}], damaged: [{path, reason}]}. Throws ZipError
// when the zip as a whole cannot be read.
function readZip(bytes, inflateSync) {
  const r = new Reader(bytes);
  const {count, offset} = centralDirectory(r);
  const files = [];
  const damaged = [];
  let at = offset;
  for (let i = 0; i < count; i++) {
    const {entry, next} = readCentralEntry(r, at);
    at = next;
    const path = safePath(entry.name);
    if (entry.name.endsWith('/') || path === '') continue;
    const {data, reason} = entryData(r, entry, inflateSync);
    if (data)
      files.push({path, data});
    else
      damaged.push({path, reason});
  }
  return {files, damaged};
}

// The download: files at their paths (UTF-8 names, which fflate flags as UTF-8).
function writeZip(files, zipSync) {
  const tree = {};
  for (const {path, data} of files) tree[path] = [data, {level: 1}];
  return zipSync(tree);
}

function topFolder(path) {
  const slash = path.indexOf('/');
  return slash < 0 ? null : path.slice(0, slash);
}

// The one top folder all paths share, or null.
function sharedTopFolder(paths) {
  if (paths.length === 0) return null;
  const first = topFolder(paths[0]);
  return first !== null && paths.every((p) => topFolder(p) === first) ? first : null;
}

// Where a zip's files go: beside the zip when they share one top folder (SmithJ.zip holding
// SmithJ/...), else in a folder of the zip's name, as unpacking it by hand gives.
function unpackedPaths(zipPath, paths) {
  const slash = zipPath.lastIndexOf('/');
  const folder = zipPath.slice(0, slash + 1);
  const stem = zipPath.slice(slash + 1).replace(/\.zip$/i, '');
  const base = sharedTopFolder(paths) !== null ? folder : `${folder}${stem}/`;
  return paths.map((p) => base + p);
}

// The folder to export, relative to where the files were put: the one folder every chosen
// file lies in (a user folder chosen or dropped), else the top.
function exportRoot(paths) {
  return sharedTopFolder(paths) ?? '';
}

// A chosen file that is a zip to unpack: one picked or dropped as a file, not one inside a
// chosen folder.
function isChosenZip(path) {
  return !path.includes('/') && /\.zip$/i.test(path);
}

Object.assign(exports, {
  ZipError,
  decodeName,
  crc32,
  readZip,
  writeZip,
  unpackedPaths,
  exportRoot,
  isChosenZip,
  safePath,
});
})(typeof module !== 'undefined' ? module.exports : (self.zipFiles = {}));
