#!/usr/bin/env python3
"""Holds orvanta-chart's documents to what is published about them.

  tool_documents.py schema TOOL SCHEMA   real --json and --batch outputs against the JSON Schema
  tool_documents.py manual TOOL PAGE     the options of --help against the manual page's OPTIONS
"""
import json
import os
import re
import subprocess
import sys
import tempfile

# Each row: what it shows, the arguments, the exit status.
JSON_RUNS = [
    ("classic chart", ["--json"], 0),
    ("refused by the form's checks", ["--json", "--month", "April", "--day", "31"], 2),
    ("refused name", ["--json", "--name", "A1"], 2),
    ("unusable arguments", ["--json", "--day", "40"], 64),
    ("unknown option", ["--colour", "red", "--json"], 64),
    ("precise with classic members", ["--json", "--precise", "--levels", "2", "--planets", "--node", "true",
                                      "--uncertainty", "5", "--on", "2000-01-01"], 0),
    ("precise alone", ["--json", "--precise", "--levels", "1", "--year", "1850", "--time-zone", "Europe/Paris"], 0),
    ("precise refusal", ["--json", "--precise", "--time-zone", "Mars/Olympus"], 2),
    ("comparison", ["--json", "--precise", "--compare", "--on", "2020-01-01"], 0),
    ("report on a missing folder", ["--json", "--report", "/nonexistent-folder/r.rtf"], 73),
]
ATLAS_RUNS = [
    ("place", ["--json", "--place", "Pune"], 0),
    ("places", ["--json", "--places", "Springfield"], 0),
    ("no such place", ["--json", "--place", "Qqqxz"], 2),
]
BATCH = ("name,day,month,year,west,zone-hour,time-zone,levels,planets\n"
         "A B,1,May,1990,false,5,,2,false\n"           # a precise row with classic members
         "C D,31,April,1990,false,5,,1,false\n"        # refused by the form's checks
         "E F,1,May,1850,false,,America/New_York,1,true\n"  # precise alone, with the grahas
         "G H,1,May,1990,maybe,5,,1,false\n"           # a flag neither true nor false
         "I J,1,May,1990,false\n"                      # fields fewer than the header's
         "K L,1,May,1990,false,,Mars/X,1,false\n")     # refused by the precise method


def run(tool, args, stdin=None):
    return subprocess.run([tool] + args, capture_output=True, input=stdin, timeout=120)


def check_schema(tool, schema_path):
    import jsonschema
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []

    def validate(name, text, status):
        try:
            document = json.loads(text)
        except ValueError as e:
            failures.append(f"{name}: not JSON ({e}): {text[:200]!r}")
            return
        for error in validator.iter_errors(document):
            failures.append(f"{name}: {error.message[:300]} at {list(error.absolute_path)}")
        if status is not None and "error" in document and document["error"].get("status") != status:
            failures.append(f"{name}: error status {document['error'].get('status')}, exit status {status}")

    runs = JSON_RUNS + (ATLAS_RUNS if run(tool, ["--places", "Pune"]).returncode != 69 else [])
    for name, args, status in runs:
        done = run(tool, args)
        if done.returncode != status:
            failures.append(f"{name}: exit status {done.returncode}, expected {status}")
        lines = done.stdout.decode().splitlines()
        if len(lines) != 1:
            failures.append(f"{name}: {len(lines)} lines on standard output, expected one document")
        for line in lines:
            validate(name, line, done.returncode)

    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "rows.csv")
        with open(path, "w", encoding="utf-8") as f:
            f.write(BATCH)
        done = run(tool, ["--batch", path, "--precise"])
        lines = done.stdout.decode().splitlines()
        if done.returncode != 0 or len(lines) != BATCH.count("\n") - 1:
            failures.append(f"batch: exit status {done.returncode}, {len(lines)} lines")
        for number, line in enumerate(lines, 2):
            validate(f"batch line {number}", line, None)
        errors = [json.loads(line).get("error", {}).get("status") for line in lines]
        if errors != [None, 2, None, 64, 64, 2]:
            failures.append(f"batch: error statuses {errors}")
        done = run(tool, ["--batch", os.path.join(folder, "none.csv"), "--json"])
        validate("batch file missing", done.stdout.decode(), done.returncode)
        if done.returncode != 66:
            failures.append(f"batch file missing: exit status {done.returncode}")
    return failures


def options_of_help(text):
    names = set()
    for line in text.splitlines():
        match = re.match(r"^  (-[-a-z]+)((, -[a-z])?)\b", line)
        if match:
            names.add(match.group(1))
            if match.group(2):
                names.add(match.group(2)[2:])
    return names


def options_of_manual(text):
    section = text.split("\n.SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0]
    names = set()
    for item in ("\n" + section).split("\n.TP\n")[1:]:
        head = item.split("\n", 1)[0].replace("\\-", "-")
        names.update(re.findall(r"(?<![\w-])(--?[a-z][-a-z]*)", head))
    return names


def columns_named(text, end):
    """The batch columns a text names, from "names the columns:" to `end`."""
    listed = re.sub(r"\s+", " ", text.replace("\\-", "-")).split("names the columns:", 1)[1].split(end, 1)[0]
    listed = re.sub(r"\(.*?\)|^\.B ", "", re.sub(r"\n\.B ", " ", listed))
    return set(re.findall(r"[a-z][-a-z]*", listed)) - {"and", "with", "also", "precise"}


def check_manual(tool, page):
    done = run(tool, ["--help"])
    if done.returncode != 0:
        return [f"--help: exit status {done.returncode}"]
    listed = options_of_help(done.stdout.decode())
    with open(page, encoding="utf-8") as f:
        manual = f.read()
    described = options_of_manual(manual)
    failures = []
    if len(listed) < 30:
        failures.append(f"--help lists only {sorted(listed)}")
    for name in sorted(listed - described):
        failures.append(f"{name} is in --help but not in the manual page's OPTIONS")
    for name in sorted(described - listed):
        failures.append(f"{name} is in the manual page's OPTIONS but not in --help")
    columns = columns_named(done.stdout.decode(), "; a missing")
    if len(columns) < 20 or columns != columns_named(manual, "A missing"):
        failures.append(f"the batch columns of --help {sorted(columns)} are not the manual page's")
    return failures


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("schema", "manual"):
        sys.exit(__doc__)
    check = check_schema if sys.argv[1] == "schema" else check_manual
    problems = check(sys.argv[2], sys.argv[3])
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)
