#!/usr/bin/env python3
"""Tests of the release packaging's own logic (package.py, compare_builds.py),
run by ctest of the native build: the operator's manual as GBK text, the zip
as Windows 7, Python and Info-ZIP read it, and naming the first difference
between two builds."""
import io
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
from contextlib import redirect_stdout

sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_builds  # noqa: E402
import package  # noqa: E402

README = """# Venbrook

## 给网吧管理员

支持 **云更新**（`lwdiskless.db`），见 [网站](https://example.org)。

- 第一项
  接着第一项

![主窗口](docs/screenshot.png)

### 核对

    certutil -hashfile Venbrook.exe SHA256

## For developers

`not part of it`
"""

EPOCH = 1751792703  # 2025-07-06 09:05:03 UTC


class Manual(unittest.TestCase):
    def test_operator_section_becomes_plain_gbk_text_with_crlf(self):
        expected = ("Venbrook 1.2.3.4 使用说明\r\n\r\n"
                    "支持 云更新（lwdiskless.db），见 网站 (https://example.org)。\r\n\r\n"
                    "- 第一项\r\n  接着第一项\r\n\r\n"
                    "【核对】\r\n\r\n"
                    "    certutil -hashfile Venbrook.exe SHA256\r\n")
        self.assertEqual(package.manual_text(README, "1.2.3.4"), expected.encode("gbk"))

    def test_refuses_what_it_cannot_write(self):
        for readme in (README.replace("第一项\n", "第一项 😀\n"),     # no GBK form
                       README.replace("## 给网吧管理员", "## Operators"),  # no section
                       README.replace("（`lwdiskless.db`）", "（``x``）")):  # Markdown left over
            with self.subTest(readme=readme[:60]), self.assertRaises(SystemExit):
                package.manual_text(readme, "1")


class Zip(unittest.TestCase):
    ENTRIES = {"使用说明.txt": "说明\r\n".encode("gbk"), "Venbrook.exe": b"MZ" + bytes(range(256)) * 40}

    def setUp(self):
        self.folder = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.folder)
        self.path = self.folder / "a.zip"
        self.path.write_bytes(package.zip_bytes(self.ENTRIES, EPOCH))

    def test_same_bytes_every_time_entries_sorted_and_dated_from_the_epoch(self):
        self.assertEqual(package.zip_bytes(dict(reversed(self.ENTRIES.items())), EPOCH), self.path.read_bytes())
        with zipfile.ZipFile(self.path, metadata_encoding="gbk") as archive:
            self.assertEqual(archive.namelist(), ["Venbrook.exe", "使用说明.txt"])
            for info in archive.infolist():
                self.assertEqual(info.date_time, (2025, 7, 6, 9, 5, 2))
                self.assertEqual(archive.read(info), self.ENTRIES[info.filename])
        self.assertEqual(package.entry_time(0), (1980, 1, 1, 0, 0, 0))

    def test_chinese_name_is_gbk_without_utf8_flag_and_utf8_in_the_unicode_path_field(self):
        with zipfile.ZipFile(self.path, metadata_encoding="gbk") as archive:
            info = archive.getinfo("使用说明.txt")
            self.assertFalse(info.flag_bits & 0x800)
            self.assertEqual(package.unicode_path(info), "使用说明.txt")
        data = self.path.read_bytes()
        self.assertIn(b"\x50\x4b\x01\x02", data)
        self.assertEqual(data.count("使用说明.txt".encode("gbk")), 2)  # local and central header

    @unittest.skipUnless(shutil.which("unzip"), "no unzip")
    def test_info_zip_lists_the_utf8_name(self):
        listing = subprocess.run(["unzip", "-l", str(self.path)], capture_output=True, text=True,
                                 env=dict(os.environ, LC_ALL="C.UTF-8"), check=True).stdout
        self.assertIn(" 使用说明.txt\n", listing)

    def test_verify_catches_a_changed_file_or_date(self):
        package.verify(self.path, EPOCH, self.ENTRIES)
        for epoch, entries in ((EPOCH + 2, self.ENTRIES), (EPOCH, dict(self.ENTRIES, **{"Venbrook.exe": b"MZ"}))):
            with self.subTest(epoch=epoch), self.assertRaises(SystemExit):
                package.verify(self.path, epoch, entries)


def fake_pe(section_bytes):
    """An MZ/PE file with one section, .text, at 0x200."""
    header = bytearray(0x200)
    header[:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, 0x80)
    header[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<HHI", header, 0x84, 0x8664, 1, 0)              # machine, sections, time stamp
    struct.pack_into("<H", header, 0x94, 0)                            # no optional header
    struct.pack_into("<8s8xII", header, 0x98, b".text", len(section_bytes), 0x200)
    return bytes(header) + section_bytes


class CompareBuilds(unittest.TestCase):
    def test_names_the_first_differing_file_entry_and_section(self):
        first, second = (pathlib.Path(tempfile.mkdtemp()) for _ in range(2))
        self.addCleanup(shutil.rmtree, first)
        self.addCleanup(shutil.rmtree, second)
        for folder, code in ((first, b"\x90" * 64), (second, b"\x90" * 32 + b"\xcc" * 32)):
            entries = {"Venbrook.exe": fake_pe(code), "使用说明.txt": b"x"}
            (folder / "a.zip").write_bytes(package.zip_bytes(entries, EPOCH))
            (folder / "b.debug").write_bytes(b"same")
        out = io.StringIO()
        with redirect_stdout(out):
            self.assertEqual(compare_builds.main([str(first), str(second)]), 1)
        self.assertIn("DIFFERENT: a.zip -> Venbrook.exe: first difference at byte 0x220", out.getvalue())
        self.assertIn("in the section .text", out.getvalue())
        self.assertEqual(compare_builds.pe_region(fake_pe(b""), 0x88), "PE header, time stamp")
        with redirect_stdout(io.StringIO()):
            self.assertEqual(compare_builds.main([str(first), str(first)]), 0)
            (second / "a.zip").unlink()
            self.assertEqual(compare_builds.main([str(first), str(second), "a.zip"]), 1)


if __name__ == "__main__":
    unittest.main()
