#!/usr/bin/env python3
"""The release zip of one architecture, the same bytes on every machine
(scripts/package.sh calls it):

  package.py manual README.md VERSION OUT.txt
      the operator section of README.md as plain text, GBK with CR LF
  package.py zip OUT.zip EPOCH NAME=FILE...
      a zip of the files under the given names, sorted, every entry dated
      EPOCH (seconds, UTC); non-ASCII names stored as GBK bytes
  package.py verify OUT.zip EPOCH NAME=FILE...
      reads the zip back and checks it holds exactly those files, as made

Entry names: Windows 7's compressed folders ignore the zip UTF-8 flag and
read a name in the OEM code page (936 on a Chinese Windows). So a non-ASCII
name is stored as GBK without the flag, and its UTF-8 form rides along in
an Info-ZIP Unicode Path extra field (0x7075), which 7-Zip, WinRAR, newer
Windows and Info-ZIP's unzip read instead on any system.
"""
import datetime
import re
import struct
import sys
import zlib
import zipfile

OPERATOR_HEADING = "## 给网吧管理员"
UNICODE_PATH = 0x7075
VERSION_NEEDED = 20          # 2.0: deflate
MADE_BY = (0 << 8) | 20      # MS-DOS host, as Windows' own zip writes: no Unix modes
ARCHIVE_ATTRIBUTE = 0x20     # FILE_ATTRIBUTE_ARCHIVE, the attribute a fresh file has
FLAG_MAXIMUM_DEFLATE = 0x2


def fail(message):
    sys.exit(f"package.py: {message}")


# ---------------------------------------------------------------- the manual

def operator_section(markdown):
    lines = markdown.splitlines()
    try:
        start = lines.index(OPERATOR_HEADING)
    except ValueError:
        fail(f"README.md has no line '{OPERATOR_HEADING}'")
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start + 1:end]


def plain_line(line):
    if re.fullmatch(r"\s*!\[[^\]]*\]\([^)]*\)\s*", line):
        return None                                   # images have no place in a text file
    heading = re.fullmatch(r"#{3,6}\s+(.*)", line)
    if heading:
        line = f"【{heading.group(1).strip()}】"
    line = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", line)
    line = re.sub(r"<(https?://[^>]+)>", r"\1", line)
    line = re.sub(r"\*\*(.+?)\*\*", r"\1", line)
    line = re.sub(r"`([^`]+)`", r"\1", line)
    return line.rstrip()


def manual_text(markdown, version):
    out = [f"Venbrook {version} 使用说明", ""]
    for line in operator_section(markdown):
        plain = plain_line(line)
        if plain is None or (plain == "" and out[-1] == ""):
            continue
        out.append(plain)
    while out[-1] == "":
        out.pop()
    for number, line in enumerate(out, 1):
        for mark in ("`", "**", "](", "!["):
            if mark in line:
                fail(f"Markdown '{mark}' left in line {number} of the manual: {line}")
    text = "\r\n".join(out) + "\r\n"
    try:
        return text.encode("gbk")
    except UnicodeEncodeError as error:
        fail(f"the operator section has a character GBK cannot hold: {text[error.start:error.end]!r}")


# ---------------------------------------------------------------- the zip

def entry_time(epoch):
    """The moment an entry is dated, as zip keeps it: UTC, from 1980, in steps of two seconds."""
    moment = datetime.datetime.fromtimestamp(max(epoch, 315532800), datetime.timezone.utc)
    return moment.year, moment.month, moment.day, moment.hour, moment.minute, moment.second // 2 * 2


def dos_date_time(epoch):
    year, month, day, hour, minute, second = entry_time(epoch)
    return (year - 1980) << 9 | month << 5 | day, hour << 11 | minute << 5 | second // 2


def stored_name(name):
    """The name's bytes in the headers, and the extra field that goes with them."""
    if name.isascii():
        return name.encode("ascii"), b""
    raw = name.encode("gbk")
    unicode_name = name.encode("utf-8")
    body = struct.pack("<BI", 1, zlib.crc32(raw)) + unicode_name
    return raw, struct.pack("<HH", UNICODE_PATH, len(body)) + body


def deflate(data):
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    packed = compressor.compress(data) + compressor.flush()
    return (8, FLAG_MAXIMUM_DEFLATE, packed) if len(packed) < len(data) else (0, 0, data)


def zip_bytes(entries, epoch):
    """entries: {name: bytes}. Returns the whole zip, entries in name order."""
    date, time = dos_date_time(epoch)
    body, directory = bytearray(), bytearray()
    for name in sorted(entries, key=lambda n: stored_name(n)[0]):
        data = entries[name]
        raw, extra = stored_name(name)
        method, flags, packed = deflate(data)
        crc = zlib.crc32(data)
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, VERSION_NEEDED, flags, method, time, date,
                            crc, len(packed), len(data), len(raw), len(extra)) + raw + extra + packed
        text = 1 if name.lower().endswith(".txt") else 0
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, MADE_BY, VERSION_NEEDED, flags, method,
                                 time, date, crc, len(packed), len(data), len(raw), len(extra), 0, 0,
                                 text, ARCHIVE_ATTRIBUTE, offset) + raw + extra
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(directory), len(body), 0)
    return bytes(body + directory + end)


def unicode_path(info):
    """The UTF-8 name of an entry's Unicode Path extra field, checked, or None."""
    extra = info.extra
    while len(extra) >= 4:
        kind, size = struct.unpack_from("<HH", extra)
        if kind == UNICODE_PATH:
            version, crc = struct.unpack_from("<BI", extra, 4)
            if version != 1 or crc != zlib.crc32(info.orig_filename.encode("gbk")):
                fail(f"stale Unicode Path field on {info.filename}")
            return extra[9:4 + size].decode("utf-8")
        extra = extra[4 + size:]
    return None


def verify(path, epoch, entries):
    with zipfile.ZipFile(path, metadata_encoding="gbk") as archive:
        infos = archive.infolist()
        names = [info.filename for info in infos]
        if names != sorted(entries, key=lambda n: stored_name(n)[0]):
            fail(f"{path} holds {names}, expected {sorted(entries)}")
        broken = archive.testzip()
        if broken:
            fail(f"{path}: {broken} fails its CRC check")
        for info in infos:
            if info.flag_bits & 0x800:
                fail(f"{path}: {info.filename} carries the UTF-8 flag (Windows 7 would misread it)")
            if info.date_time != entry_time(epoch):
                fail(f"{path}: {info.filename} is dated {info.date_time}, expected {entry_time(epoch)}")
            if not info.filename.isascii() and unicode_path(info) != info.filename:
                fail(f"{path}: {info.filename} has no Unicode Path field with its UTF-8 name")
            if archive.read(info) != entries[info.filename]:
                fail(f"{path}: {info.filename} differs from the file it was made from")


def named_files(arguments):
    entries = {}
    for argument in arguments:
        name, sep, file = argument.partition("=")
        if not sep or not name or not file:
            fail(f"expected NAME=FILE, got {argument!r}")
        with open(file, "rb") as f:
            entries[name] = f.read()
    return entries


def main(argv):
    if len(argv) == 4 and argv[0] == "manual":
        with open(argv[1], encoding="utf-8") as f:
            text = manual_text(f.read(), argv[2])
        with open(argv[3], "wb") as f:
            f.write(text)
    elif len(argv) >= 4 and argv[0] in ("zip", "verify"):
        epoch = int(argv[2])
        entries = named_files(argv[3:])
        if argv[0] == "zip":
            with open(argv[1], "wb") as f:
                f.write(zip_bytes(entries, epoch))
        else:
            verify(argv[1], epoch, entries)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
