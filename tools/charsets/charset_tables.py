#!/usr/bin/env python3
"""Writes the character set tables of the WebAssembly build from this machine's iconv.

    charset_tables.py OUTPUT.inc CHARSET...

The C library that the WebAssembly build runs on has no CP932, a SHIFT_JIS, GBK, BIG5 and EUC-KR
that decode otherwise than the Linux build's, and a windows-1255 and windows-1258 that join no
marks. For each CHARSET (a name iconv knows, at most two bytes a
character) every single byte and every two-byte sequence is given to the C library's iconv here,
and what it makes of it is written down: the code point, or that the byte begins a longer
sequence, or that it is refused. The names iconv takes for the same set (its aliases, from the
gconv-modules files) go with it, so that a table is found by any name the Linux build accepts.
"""

import ctypes
import ctypes.util
import glob
import os
import sys

ILLEGAL = 0xFFFFFFFF  # refused alone: the converter writes U+FFFD for this byte
LEAD = 0xFFFFFFFE     # incomplete alone: the first byte of a two-byte sequence
JOINED = 0x80000000   # on a held character: it was joined from a character and a mark

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t)]
libc.iconv_close.argtypes = [ctypes.c_void_p]
FAILED = ctypes.c_size_t(-1).value


def convert(handle, data):
    """(code points, bytes taken, errno) of one iconv call on `data` from a fresh state."""
    libc.iconv(handle, None, None, None, None)
    source = ctypes.create_string_buffer(data, len(data))
    target = ctypes.create_string_buffer(64)
    in_ptr = ctypes.c_char_p(ctypes.addressof(source))
    out_ptr = ctypes.c_char_p(ctypes.addressof(target))
    in_left = ctypes.c_size_t(len(data))
    out_left = ctypes.c_size_t(64)
    result = libc.iconv(handle, ctypes.byref(in_ptr), ctypes.byref(in_left),
                        ctypes.byref(out_ptr), ctypes.byref(out_left))
    error = ctypes.get_errno() if result == FAILED else 0
    if error == 0:  # the character a decoder holds back to see whether a mark follows
        libc.iconv(handle, None, None, ctypes.byref(out_ptr), ctypes.byref(out_left))
    written = target.raw[:64 - out_left.value].decode("utf-32-le")
    return [ord(c) for c in written], len(data) - in_left.value, error


def aliases(charset):
    """Every name the gconv-modules files give `charset`, the canonical one first."""
    folders = glob.glob("/usr/lib/*/gconv") + glob.glob("/usr/lib/gconv") + glob.glob("/usr/lib64/gconv")
    files = []
    for folder in folders:
        files += [os.path.join(folder, "gconv-modules")] + sorted(glob.glob(os.path.join(folder, "gconv-modules.d", "*.conf")))
    table = {}
    for name in files:
        if not os.path.isfile(name):
            continue
        with open(name, encoding="ascii", errors="replace") as lines:
            for line in lines:
                words = line.split("#", 1)[0].split()
                if len(words) == 3 and words[0] == "alias":
                    table[words[1].rstrip("/").upper()] = words[2].rstrip("/").upper()
    canonical = table.get(charset.upper(), charset.upper())
    names = [canonical] + sorted(a for a, c in table.items() if c == canonical and a != canonical)
    return names


def probe(charset):
    handle = libc.iconv_open(b"UTF-32LE", charset.encode())
    if handle is None or handle == ctypes.c_void_p(-1).value:
        sys.exit("charset_tables.py: iconv here has no " + charset)
    single = []
    pairs = {}
    for byte in range(256):
        points, taken, error = convert(handle, bytes([byte]))
        if error == 0 and taken == 1 and len(points) == 1:
            single.append(points[0])
        elif error == 22:  # EINVAL: the text ends inside a sequence
            single.append(LEAD)
        else:
            single.append(ILLEGAL)
    for lead in [b for b in range(256) if single[b] == LEAD]:
        row = []
        for trail in range(256):
            points, taken, error = convert(handle, bytes([lead, trail]))
            if error == 0 and taken == 2 and len(points) == 1:
                if points[0] > 0xFFFF or points[0] == 0:
                    sys.exit("charset_tables.py: %s: %02X %02X is no BMP character" % (charset, lead, trail))
                row.append(points[0])
            elif error == 22:
                sys.exit("charset_tables.py: %s has sequences longer than two bytes" % charset)
            else:
                row.append(0)
        pairs[lead] = row
    joins = {} if pairs else probe_joins(handle, charset, single)
    libc.iconv_close(handle)
    return single, pairs, joins


def probe_joins(handle, charset, single):
    """Where iconv joins a character and the mark after it into one (windows-1255, windows-1258):
    {(held, mark): joined}. `held` is a code point, with JOINED set when it was itself joined
    from a character and a mark: windows-1255 joins such a character with a further mark,
    windows-1258 does not."""
    defined = [b for b in range(256) if single[b] not in (ILLEGAL, LEAD)]
    joins = {}
    frontier = [(bytes([b]), single[b]) for b in defined]
    while frontier:
        grown = []
        for text, held in frontier:
            for mark in defined:
                longer = text + bytes([mark])
                points, taken, error = convert(handle, longer)
                if error != 0 or taken != len(longer):
                    sys.exit("charset_tables.py: %s refuses %s" % (charset, longer.hex()))
                if points == [held & ~JOINED, single[mark]]:
                    continue
                if len(points) != 1 or joins.get((held, single[mark]), points[0]) != points[0]:
                    sys.exit("charset_tables.py: %s: %s is no join of two characters" % (charset, longer.hex()))
                if (held, single[mark]) not in joins:
                    joins[(held, single[mark])] = points[0]
                    grown.append((longer, points[0] | JOINED))
        frontier = grown
    return joins


def c_array(values, per_line, width):
    lines = []
    for at in range(0, len(values), per_line):
        lines.append("    " + ", ".join("0x%0*X" % (width, v) for v in values[at:at + per_line]) + ",")
    return "\n".join(lines)


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: charset_tables.py OUTPUT.inc CHARSET...")
    out = ["// Written by tools/charsets/charset_tables.py from the build machine's iconv; not edited by hand.", ""]
    entries = []
    for index, charset in enumerate(sys.argv[2:]):
        single, pairs, joins = probe(charset)
        names = aliases(charset)
        leads = sorted(pairs)
        out.append("constexpr std::uint32_t kSingle%d[256] = {" % index)
        out.append(c_array(single, 8, 8))
        out.append("};")
        out.append("constexpr std::uint16_t kPairs%d[%d] = {" % (index, max(1, 256 * len(leads))))
        out.append(c_array([p for lead in leads for p in pairs[lead]] or [0], 16, 4))
        out.append("};")
        row_of = [0xFF] * 256
        for row, lead in enumerate(leads):
            row_of[lead] = row
        out.append("constexpr std::uint8_t kRows%d[256] = {" % index)
        out.append(c_array(row_of, 16, 2))
        out.append("};")
        out.append("constexpr const char* kNames%d[] = {%s, nullptr};" %
                   (index, ", ".join('"%s"' % n for n in names)))
        triples = [v for key in sorted(joins) for v in (key[0], key[1], joins[key])]
        out.append("constexpr std::uint32_t kJoins%d[%d] = {" % (index, max(3, len(triples))))
        out.append(c_array(triples or [0, 0, 0], 3, 8))
        out.append("};")
        out.append("")
        entries.append("    {kNames%d, kSingle%d, kRows%d, kPairs%d, kJoins%d, %d}," %
                       (index, index, index, index, index, len(joins)))
    out.append("constexpr CharsetTable kCharsetTables[] = {")
    out += entries
    out.append("};")
    with open(sys.argv[1], "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
