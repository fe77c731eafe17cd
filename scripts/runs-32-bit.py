#!/usr/bin/env python3
"""Exits 0 when this machine runs 32-bit x86 Linux programs, which 32-bit Wine is.

Some kernels are built without that support (or boot with it off), and then 32-bit Wine
cannot start at all. The test is a program of nine instructions' bytes, written out as
the smallest valid 32-bit ELF executable and run: "exit(0)" through the i386 system call
gate.
"""
import os, struct, subprocess, sys, tempfile

BASE = 0x08048000
HEADERS = 52 + 32  # the ELF header, then one program header
CODE = bytes.fromhex("b801000000" "31db" "cd80")  # mov eax, 1 (exit); xor ebx, ebx; int 0x80
SIZE = HEADERS + len(CODE)

elf_header = struct.pack(
    "<16sHHIIIIIHHHHHH",
    b"\x7fELF\x01\x01\x01",  # 32-bit, little-endian, version 1; the rest of the ident is 0
    2, 3, 1,                 # an executable, for i386, version 1
    BASE + HEADERS,          # entry point: the code after the headers
    52, 0, 0,                # program headers right after this one; no sections; no flags
    52, 32, 1,               # sizes of this header and of a program header; one of them
    0, 0, 0)                 # no section headers
program_header = struct.pack(
    "<IIIIIIII",
    1, 0, BASE, BASE,        # a loadable segment: the whole file, at BASE
    SIZE, SIZE, 5, 0x1000)   # its sizes in the file and in memory; readable and executable

with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "probe")
    with open(path, "wb") as probe:
        probe.write(elf_header + program_header + CODE)
    os.chmod(path, 0o755)
    try:
        sys.exit(subprocess.run([path]).returncode)
    except OSError:  # "Exec format error": no 32-bit support in this kernel
        sys.exit(1)
