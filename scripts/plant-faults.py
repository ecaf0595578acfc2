#!/usr/bin/env python3
"""Plants known faults in the code one at a time and runs the test suite against each.

Every fault in scripts/planted-faults.txt must make at least one test fail. The faults are written as
text replacements, not as line numbers, so the list keeps working when code moves between files: each
fault lists one or more old/new pairs, and every occurrence of every pair that is found in the code
folders is replaced. A rule that was written twice gets both copies planted. A pair that matches
nothing is a defect of the list (the code it was written against has changed, and the fault would plant
less than it says): such a fault is reported, never planted, and fails the run.

    scripts/plant-faults.py                 # every fault
    scripts/plant-faults.py sha1 timeout    # only faults whose id contains one of the words
    scripts/plant-faults.py --list          # what would be planted, and where
    scripts/plant-faults.py --check         # only that every pair of every fault matches (no build)

The build happens in build/faults (the default configuration without benchmarks); the source tree is
restored after each fault, also when the run is interrupted. Exit status 0 when every fault was caught
(--list, --check: when every pair of every fault matches).
"""

import argparse
import os
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
CODE_FOLDERS = ["platform", "config_tool", "env_tool", "ansible"]
CODE_SUFFIXES = (".cpp", ".h", ".py")
FAULT_FILE = ROOT / "scripts" / "planted-faults.txt"
BUILD = ROOT / "build" / "faults"


class Fault:
    def __init__(self, ident, description):
        self.ident = ident
        self.description = description
        self.pairs = []  # (old, new)


def parse_faults(text):
    faults = []
    current = None
    block = None  # "old" or "new"
    lines = []

    def close_block():
        nonlocal lines
        if block is None:
            return
        content = "\n".join(lines)
        if block == "old":
            current.pairs.append([content, None])
        else:
            current.pairs[-1][1] = content
        lines = []

    for raw in text.split("\n"):
        if raw.startswith("=== "):
            close_block()
            block = None
            ident, _, description = raw[4:].partition(":")
            current = Fault(ident.strip(), description.strip())
            faults.append(current)
        elif raw == "--- old":
            close_block()
            block = "old"
        elif raw == "+++ new":
            close_block()
            block = "new"
        elif block is not None:
            lines.append(raw)
        elif raw.strip() and not raw.startswith("#"):
            raise SystemExit(f"planted-faults.txt: unexpected line {raw!r}")
    close_block()
    for fault in faults:
        for old, new in fault.pairs:
            if new is None:
                raise SystemExit(f"planted-faults.txt: {fault.ident} has an old text without a new one")
            # A block ends with the blank line that separates it from the next marker.
        fault.pairs = [(old.rstrip("\n"), new.rstrip("\n")) for old, new in fault.pairs]
    return faults


def code_files():
    for folder in CODE_FOLDERS:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in CODE_SUFFIXES and path.is_file():
                yield path


class CodeTexts:
    """The code files' texts, each read once."""

    def __init__(self):
        self.texts = {path: path.read_text(encoding="utf-8") for path in code_files()}

    def locate(self, fault):
        """{path: original text} of every file a pair of the fault matches, and each pair's match count."""
        touched = {}
        counts = []
        for old, _ in fault.pairs:
            found = 0
            for path, text in self.texts.items():
                n = text.count(old)
                if n:
                    found += n
                    touched[path] = text
            counts.append(found)
        return touched, counts


def unmatched_pairs(counts):
    """The numbers (from 1) of the pairs that match nothing."""
    return [i + 1 for i, n in enumerate(counts) if n == 0]


def describe_unmatched(fault, counts):
    pairs = unmatched_pairs(counts)
    if len(pairs) == len(counts):
        return f"{fault.ident}: no pair matches anything"
    if len(pairs) == 1:
        return f"{fault.ident}: pair {pairs[0]} of {len(counts)} matches nothing"
    return f"{fault.ident}: pairs {', '.join(map(str, pairs))} of {len(counts)} match nothing"


def plant(fault, originals):
    for path, original in originals.items():
        text = original
        for old, new in fault.pairs:
            text = text.replace(old, new)
        path.write_text(text, encoding="utf-8")


def restore(originals):
    for path, original in originals.items():
        path.write_text(original, encoding="utf-8")


def run(command, log):
    with open(log, "w", encoding="utf-8") as out:
        return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT).returncode


def failed_tests(log):
    names = []
    with open(log, encoding="utf-8", errors="replace") as text:
        for line in text:
            # ctest's summary: "	  12 - Name (Failed)"
            if " - " in line and line.rstrip().endswith(")") and line.startswith("\t"):
                names.append(line.split(" - ", 1)[1].rsplit(" (", 1)[0])
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("words", nargs="*", help="run only faults whose id contains one of these")
    parser.add_argument("--list", action="store_true", help="show where each fault would be planted")
    parser.add_argument("--check", action="store_true", help="only check that every pair of every fault matches")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = parser.parse_args()

    faults = parse_faults(FAULT_FILE.read_text(encoding="utf-8"))
    if args.words:
        faults = [f for f in faults if any(w in f.ident for w in args.words)]
        if not faults:
            print(f"plant-faults: no fault id contains {' or '.join(args.words)}", file=sys.stderr)
            return 2
    code = CodeTexts()
    located = {fault.ident: code.locate(fault) for fault in faults}
    unmatched = [describe_unmatched(f, located[f.ident][1]) for f in faults if unmatched_pairs(located[f.ident][1])]

    if args.list:
        for fault in faults:
            touched, counts = located[fault.ident]
            where = ", ".join(str(p.relative_to(ROOT)) for p in touched) or "NOT FOUND"
            print(f"{fault.ident:32} {counts} {where}")
    if args.list or args.check:
        for line in unmatched:
            print(f"plant-faults: {line}", file=sys.stderr)
        if unmatched:
            print(f"plant-faults: {len(unmatched)} of {len(faults)} faults match nothing where they should; "
                  f"re-anchor them in {FAULT_FILE.relative_to(ROOT)}", file=sys.stderr)
            return 1
        if args.check:
            print(f"plant-faults: every pair of the {len(faults)} faults matches")
        return 0

    BUILD.mkdir(parents=True, exist_ok=True)
    configure = ["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DORVANT_BENCHMARKS=OFF"]
    build = ["cmake", "--build", str(BUILD), "-j", str(args.jobs)]
    test = ["ctest", "--test-dir", str(BUILD), "-j", str(args.jobs), "--timeout", "300"]
    if run(configure, BUILD / "configure.log") != 0 or run(build, BUILD / "build.log") != 0:
        print(f"plant-faults: the unchanged tree does not build; see {BUILD / 'build.log'}", file=sys.stderr)
        return 2
    if run(test, BUILD / "test.log") != 0:
        print(f"plant-faults: the unchanged tree fails its tests; see {BUILD / 'test.log'}", file=sys.stderr)
        return 2

    for line in unmatched:
        print(f"plant-faults: {line}: not planted", file=sys.stderr, flush=True)
    results = []
    for fault in faults:
        originals, counts = CodeTexts().locate(fault)  # as the files are now
        if unmatched_pairs(counts):
            results.append((fault, "UNMATCHED", counts, []))
            print(f"{fault.ident:32} UNMATCHED    {describe_unmatched(fault, counts)}", flush=True)
            continue
        started = time.monotonic()
        try:
            plant(fault, originals)
            log = BUILD / f"fault-{fault.ident}.log"
            if run(build, log) != 0:
                outcome, names = "BUILD FAILED", []
            elif run(test, log) != 0:
                outcome, names = "caught", failed_tests(log)
            else:
                outcome, names = "MISSED", []
        finally:
            restore(originals)
        results.append((fault, outcome, counts, names))
        shown = ", ".join(names[:3]) + (f" (+{len(names) - 3})" if len(names) > 3 else "")
        print(f"{fault.ident:32} {outcome:12} {int(time.monotonic() - started):4d}s  {shown}", flush=True)

    run(build, BUILD / "build.log")  # back to the unchanged tree's binaries
    report = BUILD / "report.txt"
    with open(report, "w", encoding="utf-8") as out:
        for fault, outcome, counts, names in results:
            out.write(f"{fault.ident}\t{outcome}\t{counts}\t{fault.description}\t{'; '.join(names)}\n")
    caught = sum(1 for r in results if r[1] == "caught")
    not_planted = sum(1 for r in results if r[1] == "UNMATCHED")
    print(f"\n{caught} of {len(results)} faults caught" + (f", {not_planted} not planted (UNMATCHED)" if not_planted else "")
          + f"; report in {report}")
    return 0 if caught == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())
