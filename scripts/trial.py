#!/usr/bin/env python3
"""Measures how files nobody has tried yet load: every file F under DIR with
F.expected beside it is read by tests/tools/trial_read (the window's own
reading) and held against its expected list, machine by machine.

    scripts/trial.py DIR [--tool PATH] [--markdown OUT]

Each file comes out as one of:
  right                 the list expected, in its order, with its names; or a
                        refusal where the file holds no list
  refused with a word   no list where one was expected, and the label says why
  loaded wrong          a list that differs (missing, extra, wrong names,
                        order), or anything but a refusal where one was expected;
                        a file the reading crashed or hung on (30 s) too

The shape is the file's folder below DIR. Prints the table and the totals,
and writes them as Markdown to OUT too. Exits 0 whatever it finds: it
measures, it does not judge a build.
"""
import argparse
import json
import pathlib
import re
import subprocess
import sys

sys.dont_write_bytecode = True
ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_TOOL = ROOT / "build" / "linux" / "tests" / "trial_read"
OUTCOMES = ("right", "refused with a word", "loaded wrong")
BATCH = 200  # files per start of the tool
TIMEOUT = 30  # seconds a file may take


def canonical_mac(text):
    digits = re.sub(r"[^0-9A-Fa-f]", "", text).upper()
    if len(digits) != 12:
        return text.strip().upper()
    return "-".join(digits[i:i + 2] for i in range(0, 12, 2))


def read_expected(path):
    refused, machines = False, []
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("#"):
            refused |= "outcome: refused" in line
        elif line.strip():
            mac, _, name = line.partition("\t")
            machines.append((canonical_mac(mac), name))
    return refused, machines


def shown_names(tool, names):
    """The names as the list shows them: through the program's own GBK."""
    if not names:
        return []
    done = subprocess.run([str(tool), "--shown"], input="\n".join(names) + "\n", capture_output=True,
                          text=True, encoding="utf-8", errors="replace", check=True)
    shown = done.stdout.split("\n")[:len(names)]
    return shown


def run_tool(tool, files, timeout):
    """The tool's answers by file; a file it crashed or hung on has none."""
    reads = {}
    try:
        done = subprocess.run([str(tool), *files], capture_output=True, text=True, encoding="utf-8",
                              errors="replace", timeout=timeout)
    except subprocess.TimeoutExpired:
        return reads, "no answer within %d s" % timeout
    for line in done.stdout.splitlines():
        read = json.loads(line)
        reads[read["file"]] = read
    return reads, done.stderr.strip()[-200:] or f"exit status {done.returncode}"


def read_files(tool, files):
    reads = {}
    for start in range(0, len(files), BATCH):
        batch = [str(f) for f in files[start:start + BATCH]]
        found, _ = run_tool(tool, batch, TIMEOUT * len(batch))
        reads.update(found)
        for file in batch:  # after a crash or a hang, each file that had no answer on its own
            if file not in reads:
                alone, why = run_tool(tool, [file], TIMEOUT)
                reads[file] = alone.get(file, {"outcome": "Crashed", "label": why, "rows": []})
    return reads


def difference(expected, got):
    """A few words on how a read list differs from the expected one."""
    want = dict(expected)
    have = {}
    for mac, name in got:
        have.setdefault(mac, name)
    words = []
    missing = sum(1 for mac in want if mac not in have)
    extra = sum(1 for mac in have if mac not in want)
    wrong_names = sum(1 for mac, name in want.items() if mac in have and have[mac] != name)
    repeats = len(got) - len(have)
    if missing:
        words.append(f"{missing} missing")
    if extra:
        words.append(f"{extra} extra")
    if repeats:
        words.append(f"{repeats} repeated")
    if wrong_names:
        example = next((mac, name) for mac, name in want.items() if mac in have and have[mac] != name)
        words.append(f"{wrong_names} wrong names (e.g. {example[1]!r} read as {have[example[0]]!r})")
    if not words:
        words.append("order differs")
    return f"{len(got)} read of {len(expected)}: " + ", ".join(words)


def judge(refused, expected, read):
    outcome, label = read["outcome"], read["label"]
    got = [(canonical_mac(row["mac"]), row["name"]) for row in read["rows"]]
    if refused:
        if outcome == "NoList":
            return "right", "refused: " + label
        return "loaded wrong", f"{outcome} with {len(got)} rows where no list was expected: {label}"
    if outcome in ("NoList", "ReadFailed"):
        if label:
            return "refused with a word", label
        return "loaded wrong", f"{outcome} without a word"
    if outcome != "Loaded":
        return "loaded wrong", f"{outcome}: {label}"
    if got == expected:
        return "right", f"{len(got)} machines"
    return "loaded wrong", difference(expected, got) + f" [{label}]"


def cell(text):
    return text.replace("|", "\\|").replace("\n", " ")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("dir", type=pathlib.Path)
    parser.add_argument("--tool", type=pathlib.Path, default=DEFAULT_TOOL)
    parser.add_argument("--markdown", type=pathlib.Path)
    args = parser.parse_args()
    if not args.tool.exists():
        print(f"{args.tool}: no such tool; build the linux preset first", file=sys.stderr)
        return 0

    root = args.dir.resolve()
    files = sorted(p for p in root.rglob("*")
                   if p.is_file() and not p.name.endswith(".expected") and p.with_name(p.name + ".expected").exists())
    expectations = {}
    for file in files:
        expectations[file] = read_expected(file.with_name(file.name + ".expected"))
    names = [name for _, machines in expectations.values() for _, name in machines]
    shown = iter(shown_names(args.tool, names))
    for file, (refused, machines) in expectations.items():
        expectations[file] = (refused, [(mac, next(shown)) for mac, _ in machines])
    reads = read_files(args.tool, files)

    lines = ["| file | shape | outcome | detail |", "| --- | --- | --- | --- |"]
    totals = dict.fromkeys(OUTCOMES, 0)
    for file in files:
        refused, machines = expectations[file]
        outcome, detail = judge(refused, machines, reads[str(file)])
        totals[outcome] += 1
        relative = file.relative_to(root)
        shape = str(relative.parent) if relative.parent != pathlib.Path(".") else "-"
        lines.append(f"| {cell(relative.name)} | {cell(shape)} | {outcome} | {cell(detail[:300])} |")
    lines.append("")
    lines.append(f"Totals over {len(files)} files: " + ", ".join(f"{totals[o]} {o}" for o in OUTCOMES) + ".")
    text = "\n".join(lines) + "\n"
    print(text, end="")
    if args.markdown:
        commit = subprocess.run(["git", "-C", str(ROOT), "rev-parse", "--short", "HEAD"], capture_output=True,
                                text=True).stdout.strip() or "unknown"
        args.markdown.write_text(f"# Trial of {args.dir}\n\nRead by {args.tool} (sources at commit {commit}).\n\n" + text,
                                 encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
