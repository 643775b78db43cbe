// Builds zip files byte by byte for the tests: stored entries with the name bytes, flags,
// method, extra field and checksum each test wants, so that names in CP437, unflagged UTF-8
// and damage can be made exactly.
'use strict';

const {crc32} = require('../../../src/web/page/zipfiles.js');

function u16(n) {
  return Buffer.from([n & 0xff, (n >> 8) & 0xff]);
}

function u32(n) {
  const b = Buffer.alloc(4);
  b.writeUInt32LE(n >>> 0);
  return b;
}

// entries: [{name: Buffer|string, data: Buffer|string, flags, method, extra: Buffer, crc}]
function buildZip(entries) {
  const locals = [];
  const centrals = [];
  let offset = 0;
  for (const e of entries) {
    const name = Buffer.isBuffer(e.name) ? e.name : Buffer.from(e.name, 'utf8');
    const data = Buffer.from(e.data ?? '');
    const extra = e.extra ?? Buffer.alloc(0);
    const crc = e.crc ?? crc32(data);
    const common = [
      u16(e.flags ?? 0), u16(e.method ?? 0), u32(0), u32(crc), u32(data.length), u32(data.length),
      u16(name.length)
    ];
    const local = Buffer.concat([u32(0x04034b50), u16(20), ...common, u16(0), name, data]);
    centrals.push(Buffer.concat([
      u32(0x02014b50), u16(20), u16(20), ...common, u16(extra.length), u16(0), u16(0), u16(0),
      u32(0), u32(offset), name, extra
    ]));
    locals.push(local);
    offset += local.length;
  }
  const central = Buffer.concat(centrals);
  const end = Buffer.concat([
    u32(0x06054b50), u16(0), u16(0), u16(entries.length), u16(entries.length), u32(central.length),
    u32(offset), u16(0)
  ]);
  return new Uint8Array(Buffer.concat([...locals, central, end]));
}

// The Info-ZIP Unicode path extra field that carries a UTF-8 name beside a CP437 one.
function unicodePathExtra(name) {
  const utf8 = Buffer.from(name, 'utf8');
  return Buffer.concat([u16(0x7075), u16(utf8.length + 5), Buffer.from([1]), u32(0), utf8]);
}

module.exports = {
  buildZip,
  unicodePathExtra
};
