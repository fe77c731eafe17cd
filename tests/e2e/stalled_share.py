#!/usr/bin/env python3
"""A share that stops answering, for the end-to-end tests: a read-only FUSE file system
spoken to directly on /dev/fuse (no libfuse), one folder of files copied from real ones.
Lookups, attributes and opens are answered at once, so that the Wine server, which opens
files for its programs, is never held; reads of a file can be held unanswered until the
test lets them go, as a share that stopped answering holds them. As a network file system
does, a held read is given up (EINTR) when the kernel says its caller was interrupted; the
read, tried again, is held again.

    stalled_share.py MOUNTPOINT NAME=FILE...

Run as root in a mount namespace of the test's own (unshare --mount). Commands, one a line
on standard input: "hold NAME", "release NAME", "quit". It reports on standard output:
"mounted" once the folder serves, "held NAME" for each read that it holds, "ready" after
each command, and ends when told to quit or when standard input ends.
"""
import ctypes
import errno
import os
import stat
import struct
import sys
import threading

FUSE_LOOKUP, FUSE_FORGET, FUSE_GETATTR = 1, 2, 3
FUSE_OPEN, FUSE_READ, FUSE_RELEASE, FUSE_FLUSH, FUSE_INIT = 14, 15, 18, 25, 26
FUSE_ACCESS, FUSE_INTERRUPT, FUSE_DESTROY, FUSE_BATCH_FORGET = 34, 36, 38, 42
NO_REPLY = (FUSE_FORGET, FUSE_BATCH_FORGET, FUSE_INTERRUPT)

IN_HEADER = struct.Struct("<IIQQIIIHH")  # len, opcode, unique, nodeid, uid, gid, pid, extlen, pad
OUT_HEADER = struct.Struct("<IiQ")  # len, error, unique
ATTR = struct.Struct("<QQQQQQIIIIIIIIII")  # ino size blocks a/m/ctime nsecs mode nlink uid gid rdev blksize flags
READ_IN = struct.Struct("<QQI")  # fh, offset, size
ROOT = 1


class Share:
    def __init__(self, device, files):
        self.device = device
        self.names = list(files)
        self.contents = [files[name] for name in self.names]
        self.lock = threading.Lock()
        self.holding = set()
        self.held = {}  # unique of a held read: (node, offset, size)

    def node_of(self, name):
        return self.names.index(name) + ROOT + 1 if name in self.names else None

    def reply(self, unique, error=0, body=b""):
        message = OUT_HEADER.pack(OUT_HEADER.size + len(body), -error, unique) + body
        try:
            os.write(self.device, message)
        except OSError:  # the request was given up meanwhile
            pass

    def attr(self, node):
        if node == ROOT:
            return ATTR.pack(ROOT, 0, 0, 0, 0, 0, 0, 0, 0, stat.S_IFDIR | 0o755, 2, 0, 0, 0, 4096, 0)
        size = len(self.contents[node - ROOT - 1])
        return ATTR.pack(node, size, (size + 511) // 512, 0, 0, 0, 0, 0, 0, stat.S_IFREG | 0o444, 1, 0, 0, 0, 4096, 0)

    def read(self, unique, node, offset, size):
        data = self.contents[node - ROOT - 1]
        self.reply(unique, body=data[offset:offset + size])

    def handle(self, opcode, unique, node, body):
        if opcode == FUSE_INIT:
            major, minor, readahead, _ = struct.unpack_from("<IIII", body)
            init = struct.pack("<IIIIHHIIHHI", 7, min(minor, 31), readahead, 0, 0, 0, 65536, 1, 0, 0, 0)
            return self.reply(unique, body=init + bytes(28))
        if opcode == FUSE_LOOKUP:
            found = self.node_of(body.split(b"\0")[0].decode()) if node == ROOT else None
            if found is None:
                return self.reply(unique, errno.ENOENT)
            return self.reply(unique, body=struct.pack("<QQQQII", found, 0, 0, 0, 0, 0) + self.attr(found))
        if opcode == FUSE_GETATTR:
            return self.reply(unique, body=struct.pack("<QII", 0, 0, 0) + self.attr(node))
        if opcode == FUSE_OPEN:
            return self.reply(unique, body=struct.pack("<QII", 0, 0, 0))
        if opcode == FUSE_READ:
            _, offset, size = READ_IN.unpack_from(body)
            name = self.names[node - ROOT - 1]
            with self.lock:
                if name in self.holding:
                    self.held[unique] = (node, offset, size)
                    report("held " + name)
                    return
            return self.read(unique, node, offset, size)
        if opcode == FUSE_INTERRUPT:
            (interrupted,) = struct.unpack_from("<Q", body)
            with self.lock:
                given_up = self.held.pop(interrupted, None)
            if given_up is not None:
                self.reply(interrupted, errno.EINTR)
            return
        if opcode in (FUSE_RELEASE, FUSE_FLUSH, FUSE_ACCESS):
            return self.reply(unique)
        if opcode not in NO_REPLY:
            self.reply(unique, errno.ENOSYS)

    def hold(self, name, holding):
        with self.lock:
            if holding:
                self.holding.add(name)
                return
            self.holding.discard(name)
            node = self.node_of(name)
            released = [(unique, read) for unique, read in self.held.items() if read[0] == node]
            for unique, _ in released:
                del self.held[unique]
        for unique, read in released:
            self.read(unique, *read)

    def serve(self):
        while True:
            try:
                request = os.read(self.device, 1 << 20)
            except OSError as error:
                if error.errno in (errno.EINTR, errno.ENOENT):
                    continue
                return  # ENODEV: unmounted
            length, opcode, unique, node = IN_HEADER.unpack_from(request)[:4]
            self.handle(opcode, unique, node, request[IN_HEADER.size:length])
            if opcode == FUSE_DESTROY:
                return


output_lock = threading.Lock()


def report(line):
    with output_lock:
        sys.stdout.write(line + "\n")
        sys.stdout.flush()


def main():
    mountpoint = sys.argv[1]
    files = {}
    for argument in sys.argv[2:]:
        name, path = argument.split("=", 1)
        with open(path, "rb") as source:
            files[name] = source.read()
    device = os.open("/dev/fuse", os.O_RDWR)
    libc = ctypes.CDLL(None, use_errno=True)
    options = "fd=%d,rootmode=40000,user_id=0,group_id=0" % device
    ms_nosuid, ms_nodev = 2, 4
    if libc.mount(b"stalled-share", mountpoint.encode(), b"fuse", ms_nosuid | ms_nodev, options.encode()) != 0:
        sys.exit("cannot mount %s: %s" % (mountpoint, os.strerror(ctypes.get_errno())))
    share = Share(device, files)
    threading.Thread(target=share.serve, daemon=True).start()
    os.stat(mountpoint)  # answered once INIT is
    report("mounted")
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["quit"]:
            break
        if len(words) == 2 and words[0] in ("hold", "release"):
            share.hold(words[1], words[0] == "hold")
        report("ready")
    for name in share.names:
        share.hold(name, False)
    libc.umount2(mountpoint.encode(), 2)  # MNT_DETACH


if __name__ == "__main__":
    main()
