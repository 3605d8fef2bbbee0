#!/usr/bin/env python3
"""A small PE file for the tool's cases: MZ and PE headers for a processor,
one section holding a resource directory with N icon groups (numbered 1..N).
Nothing in it runs; it is what Windows reads before it starts a program or
takes its icon.   make_pe.py PATH [ICON-GROUPS] [MACHINE-HEX]"""
import struct
import sys

path = sys.argv[1]
groups = int(sys.argv[2]) if len(sys.argv) > 2 else 0
machine = int(sys.argv[3], 16) if len(sys.argv) > 3 else 0x14C

# The resources: a root with one type (14, icon groups) and its N entries.
resources = b''
if groups:
    root = struct.pack('<IIHHHH', 0, 0, 0, 0, 0, 1) + struct.pack('<II', 14, 0x80000000 | 24)
    subdir = struct.pack('<IIHHHH', 0, 0, 0, 0, 0, groups)
    subdir += b''.join(struct.pack('<II', n + 1, 0) for n in range(groups))
    resources = root + subdir

optional_size = 224
dos = b'MZ' + bytes(0x3A) + struct.pack('<I', 0x40)
coff = b'PE\0\0' + struct.pack('<HHIIIHH', machine, 1, 0, 0, 0, optional_size, 0x0102)
directories = [(0, 0)] * 16
if groups:
    directories[2] = (0x1000, len(resources))
optional = struct.pack('<HBBIIIIII', 0x10B, 1, 0, 0x200, 0x200, 0, 0x1000, 0x1000, 0x1000)
optional += struct.pack('<IIIHHHHHHIIIIHHIIIIII', 0x400000, 0x1000, 0x200, 4, 0, 0, 0, 4, 0, 0,
                        0x2000, 0x200, 0, 2, 0, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
optional += b''.join(struct.pack('<II', *d) for d in directories)
section = struct.pack('<8sIIIIIIHHI', b'.rsrc', max(len(resources), 1), 0x1000, 0x200, 0x200, 0, 0, 0, 0,
                      0x40000040)
headers = dos + coff + optional + section
body = resources.ljust(0x200, b'\0')
open(path, 'wb').write(headers.ljust(0x200, b'\0') + body)
