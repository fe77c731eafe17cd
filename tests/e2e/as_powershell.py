#!/usr/bin/env python3
"""What PowerShell reads from a native program's bytes on standard input: decoded with the
console's output code page ([Console]::OutputEncoding; cp950 unless another is named),
strictly, written out as UTF-8.

Windows' code page 950 maps Big5's EUDC area to the private use area (FA40-FEFE to
U+E000-U+E310, 8E40-A0FE from U+E311, 8140-8DFE from U+EEB8, C6A1-C8FE from U+F6B1);
Python's cp950 leaves it out, or reads part of it as kana, so those pairs are read here.
    as_powershell.py [CODEC] <BYTES
"""
import sys

# Lead bytes of each EUDC block, the code point of its first character, and the trail
# byte it starts at.
BLOCKS = [(0xFA, 0xFE, 0xE000, 0x40), (0x8E, 0xA0, 0xE311, 0x40), (0x81, 0x8D, 0xEEB8, 0x40),
          (0xC6, 0xC8, 0xF6B1, 0xA1)]


def trail_index(trail):
    """A trail byte's place in its row of 157: 40-7E, then A1-FE."""
    if 0x40 <= trail <= 0x7E:
        return trail - 0x40
    if 0xA1 <= trail <= 0xFE:
        return 63 + trail - 0xA1
    return None


def eudc(pair):
    """The private use character of an EUDC pair, or None."""
    if len(pair) < 2 or trail_index(pair[1]) is None:
        return None
    for first, last, code, start in BLOCKS:
        offset = (pair[0] - first) * 157 + trail_index(pair[1]) - trail_index(start)
        if first <= pair[0] <= last and offset >= 0:
            return chr(code + offset)
    return None


def cp950(data):
    """Every byte from 81 on leads a pair, as in Windows' table."""
    text, i = [], 0
    while i < len(data):
        length = 2 if data[i] >= 0x81 else 1
        text.append(eudc(data[i:i + 2]) or data[i:i + length].decode("cp950"))
        i += length
    return "".join(text)


data = sys.stdin.buffer.read()
codec = sys.argv[1] if len(sys.argv) > 1 else "cp950"
sys.stdout.buffer.write((cp950(data) if codec == "cp950" else data.decode(codec)).encode("utf-8"))
