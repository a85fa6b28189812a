#!/usr/bin/env python3
"""Fails when a string id is defined twice in a resource script.

The resource compiler takes a second definition of a string id without a word and keeps
one of the two texts, so a page can show another page's text. This preprocesses each
script as the resource compiler does and lists every id defined more than once per
language.

usage: check_string_ids.py <preprocessor command ...> -- <script.rc> [<script.rc> ...]
"""
import re
import subprocess
import sys

ENTRY = re.compile(r'^\s*([0-9A-Fa-fxX()+\-*/ \t]+?)\s*,?\s*"')
LANGUAGE = re.compile(r'^\s*LANGUAGE\s+(\w+)\s*,\s*(\w+)')


def string_ids(text):
    """Yields (language, id, line) for every entry of every STRINGTABLE block."""
    language = ("", "")
    in_table = in_block = False
    for number, line in enumerate(text.splitlines(), 1):
        words = line.split()
        match = LANGUAGE.match(line)
        if match and not in_block:
            language = match.groups()
        if words[:1] == ["STRINGTABLE"]:
            in_table = True
            continue
        if in_table and words[:1] in (["BEGIN"], ["{"]):
            in_block = True
            continue
        if in_block and words[:1] in (["END"], ["}"]):
            in_table = in_block = False
            continue
        if in_block:
            entry = ENTRY.match(line)
            if entry:
                # Ids are numbers or small sums after preprocessing; no names remain.
                yield language, eval(entry.group(1), {"__builtins__": {}}), number


def main(argv):
    split = argv.index("--")
    command, scripts = argv[:split], argv[split + 1:]
    failed = False
    for script in scripts:
        text = subprocess.run(command + [script], check=True, capture_output=True, text=True,
                              encoding="latin-1").stdout
        seen = {}
        for language, string_id, line in string_ids(text):
            key = (language, string_id)
            if key in seen:
                print(f"{script}: string id {string_id} defined twice (preprocessed lines "
                      f"{seen[key]} and {line})")
                failed = True
            else:
                seen[key] = line
        print(f"{script}: {len(seen)} string ids")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
