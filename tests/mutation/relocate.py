#!/usr/bin/env python3
"""Moves the mutants of a draw onto a newer checkout, so that the same mutants can
run again after the code has moved on.

usage: relocate.py MUTANTS.jsonl RESULTS.tsv SRC > RELOCATED.jsonl

Only the mutants RESULTS.tsv ran (killed or survived) are kept. Each keeps its id
and takes the line of SRC that reads as its original line: the same line number
if it still does, else the matching line nearest to it, else the one line of
another source file of the draw's folders that reads so (code moved between
files). A mutant whose original line is found nowhere, or in several other
files, is left out and named on stderr.
"""
import glob
import json
import os
import sys


def Elsewhere(src, files, m):
    folders = {"model", "repository", "repository/store", "extdir"}
    found = []
    for folder in folders:
        for path in glob.glob(f"{src}/{folder}/*.cpp"):
            rel = os.path.relpath(path, src)
            if rel not in files:
                files[rel] = open(path).read().split("\n")
            found += [(rel, i) for i, text in enumerate(files[rel]) if text == m["orig"]]
    return found[0] if len(found) == 1 else None


def main(mutants_path, results_path, src):
    ran = set()
    for line in open(results_path):
        fields = line.rstrip("\n").split("\t")
        if fields[0].isdigit() and fields[3] in ("KILLED", "SURVIVED"):
            ran.add(int(fields[0]))
    files = {}
    moved = gone = 0
    for line in open(mutants_path):
        if not line.strip():
            continue
        m = json.loads(line)
        if m["id"] not in ran:
            continue
        if m["file"] not in files:
            try:
                files[m["file"]] = open(f"{src}/{m['file']}").read().split("\n")
            except FileNotFoundError:
                files[m["file"]] = []
        lines = files[m["file"]]
        at = m["line"] - 1
        if not (0 <= at < len(lines) and lines[at] == m["orig"]):
            matches = [i for i, text in enumerate(lines) if text == m["orig"]]
            if not matches:
                elsewhere = Elsewhere(src, files, m)
                if elsewhere:
                    m["file"], at = elsewhere
                    moved += 1
                    m["line"] = at + 1
                    print(json.dumps(m))
                    continue
                gone += 1
                print(f"gone: {m['id']} {m['file']}:{m['line']}: {m['orig'].strip()}", file=sys.stderr)
                continue
            at = min(matches, key=lambda i: abs(i - at))
            moved += 1
        m["line"] = at + 1
        print(json.dumps(m))
    print(f"{len(ran)} mutants: {moved} moved, {gone} gone", file=sys.stderr)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
