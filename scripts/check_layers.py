#!/usr/bin/env python3
"""Holds the includes of src/ to the order of the layers:

    platform -> model -> sources, settings, export -> commands -> app

A file may include from its own layer and the layers below it; sources,
settings and export do not see each other; the window (app) reaches them
only through commands. Every include that breaks this is printed as
"file:line: includes "path": <layer> may include from ..." and the exit
status is 1.

    scripts/check_layers.py [src-folder]     check (default: the src/ beside scripts/)
    scripts/check_layers.py --self-test      seed faults into a copy and see them caught
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

MAY_INCLUDE = {
    "platform": {"platform"},
    "model": {"platform", "model"},
    "sources": {"platform", "model", "sources"},
    "settings": {"platform", "model", "settings"},
    "export": {"platform", "model", "export"},
    "commands": {"platform", "model", "sources", "settings", "export", "commands"},
    "app": {"platform", "model", "commands", "app"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c", ".rc", ".in"}


def violations(src):
    src = pathlib.Path(src)
    found = []
    for file in sorted(src.rglob("*")):
        if not file.is_file() or file.suffix not in SOURCE_SUFFIXES:
            continue
        layer = file.relative_to(src).parts[0]
        allowed = MAY_INCLUDE.get(layer)
        if allowed is None:
            found.append(f"{file}: lies in no layer ({', '.join(MAY_INCLUDE)})")
            continue
        text = file.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            target_layer = target.split("/", 1)[0] if "/" in target else None
            if target_layer in MAY_INCLUDE and target_layer not in allowed:
                found.append(f'{file}:{number}: includes "{target}": {layer} may include from '
                             f"{', '.join(sorted(allowed))} only")
    return found


def self_test(src):
    """Each seeded include must be reported, naming the file and the include."""
    plain = '#include "{}"\n'
    seeds = [
        ("platform/os.h", "model/text_codec.h", plain),          # upward
        ("model/machine_list.h", "commands/commands.h", plain),  # upward, two layers
        ("export/export_file.cpp", "sources/products.h", plain),  # sideways
        ("sources/sqlite/product_database.cpp", "export/export_file.h", plain),  # sideways
        ("settings/profile_file.cpp", "sources/row_sink.h", plain),  # sideways
        ("app/main_window.cpp", "sources/machine_source.h", plain),  # around commands
        ("model/gbk_text.cpp", "settings/profile_file.h",  # indented, inside a condition
         '#ifdef _WIN32\n#  include "{}"\n#endif\n'),
        ("export/append_lines.cpp", "commands/export_rows.h", '  #include "{}"\n'),
    ]
    caught = 0
    for file, target, form in seeds:
        with tempfile.TemporaryDirectory() as work:
            copy = pathlib.Path(work) / "src"
            shutil.copytree(src, copy)
            seeded = copy / file
            lines = form.format(target)
            seeded.write_text(lines + seeded.read_text(encoding="utf-8"), encoding="utf-8")
            run = subprocess.run([sys.executable, __file__, str(copy)], capture_output=True, text=True)
            number = next(n for n, line in enumerate(lines.splitlines(), 1) if target in line)
            expected = f'{seeded}:{number}: includes "{target}"'
            if run.returncode == 1 and expected in run.stdout:
                caught += 1
            else:
                print(f"not caught: {file} including {target}\n{run.stdout}{run.stderr}")
    print(f"self-test: {caught} of {len(seeds)} seeded includes caught")
    return 0 if caught == len(seeds) else 1


def main(argv):
    default_src = pathlib.Path(__file__).resolve().parent.parent / "src"
    if argv[1:2] == ["--self-test"]:
        return self_test(argv[2] if len(argv) > 2 else default_src)
    src = argv[1] if len(argv) > 1 else default_src
    found = violations(src)
    for line in found:
        print(line)
    if not found:
        print(f"layers: every include in {src} keeps to the order")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
