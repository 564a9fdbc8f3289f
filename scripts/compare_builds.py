#!/usr/bin/env python3
"""Compares two release folders made from the same sources in two places:

  compare_builds.py FIRST SECOND [FILE...]

FILE names a file of both folders (default: every file of FIRST). Exits 0
when all are byte-identical; else names each file that differs, the first
(in name order) first, down to the zip entry and the part of the program
(PE header or section) where its first differing byte lies, and exits 1.
"""
import os
import struct
import sys
import zipfile


def pe_region(data, offset):
    """Which part of a PE file holds the byte at offset, e.g. 'section .rdata'."""
    try:
        if data[:2] != b"MZ":
            return None
        header = struct.unpack_from("<I", data, 0x3C)[0]
        if data[header:header + 4] != b"PE\0\0":
            return None
        sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
        table = header + 24 + optional_size
        if offset < table + 40 * sections:
            if header + 8 <= offset < header + 12:
                return "PE header, time stamp"
            if header + 24 + 64 <= offset < header + 24 + 68:
                return "PE header, checksum"
            return "PE headers"
        for i in range(sections):
            name, raw_size, raw_pointer = struct.unpack_from("<8s8xII", data, table + 40 * i)
            if raw_pointer <= offset < raw_pointer + raw_size:
                return "section " + name.rstrip(b"\0").decode("ascii", "replace")
        return "after the sections (symbols or debug data)"
    except struct.error:
        return None


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def describe(name, a, b):
    """Where two different byte strings named name first differ."""
    offset = first_difference(a, b)
    where = f"{name}: first difference at byte {offset:#x} (sizes {len(a)} and {len(b)})"
    region = pe_region(a, offset)
    return f"{where}, in the {region}" if region else where


def describe_zip(path_a, path_b, name):
    try:
        with zipfile.ZipFile(path_a, metadata_encoding="gbk") as za, \
             zipfile.ZipFile(path_b, metadata_encoding="gbk") as zb:
            names_a, names_b = za.namelist(), zb.namelist()
            if names_a != names_b:
                return f"{name}: the entries differ: {names_a} and {names_b}"
            for entry in names_a:
                data_a, data_b = za.read(entry), zb.read(entry)
                if data_a != data_b:
                    return describe(f"{name} -> {entry}", data_a, data_b)
            for ia, ib in zip(za.infolist(), zb.infolist()):
                if (ia.date_time, ia.external_attr, ia.extra) != (ib.date_time, ib.external_attr, ib.extra):
                    return f"{name} -> {ia.filename}: same content, different date, attributes or extra field"
    except zipfile.BadZipFile as error:
        return f"{name}: {error}"
    return None


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    first, second, names = argv[0], argv[1], argv[2:]
    if not names:
        names = sorted(n for n in os.listdir(first) if os.path.isfile(os.path.join(first, n)))
    if not names:
        sys.exit(f"compare_builds.py: nothing to compare in {first}")
    differing = []
    for name in sorted(names):
        path_a, path_b = os.path.join(first, name), os.path.join(second, name)
        missing = [p for p in (path_a, path_b) if not os.path.isfile(p)]
        if missing:
            differing.append(f"{name} is missing from {os.path.dirname(missing[0])}")
            continue
        with open(path_a, "rb") as f:
            a = f.read()
        with open(path_b, "rb") as f:
            b = f.read()
        if a == b:
            print(f"same: {name}")
            continue
        detail = describe_zip(path_a, path_b, name) if name.endswith(".zip") else None
        differing.append(detail or describe(name, a, b))
    if not differing:
        return 0
    print(f"NOT REPRODUCIBLE: {len(differing)} file(s) of {first} and {second} differ, first in name order:")
    for line in differing:
        print(f"DIFFERENT: {line}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
