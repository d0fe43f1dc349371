#!/usr/bin/env python3
"""Runs the reading commands against one named card file of emu/cards and
compares every run's standard output and exit status with
expected/named/<card>.out.

Each run starts from a fresh copy of the card file, so a run that changes the
card (the locate indication) does not change what the next one sees. The
JSON runs must also parse as JSON (unless no card was found at start-up).
With --update the expected file is written from this run instead (review it
by hand).
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

from run_case import HERE, ROOT, compare, parse_options, program_command

# (arguments, standard input, output is JSON)
RUNS = [
    (["-c", "1", "-list"], "", False),
    (["-c", "1", "-list", "-json"], "", True),
    (["-listall"], "", False),
    (["-healthall"], "", False),
    (["-c", "1", "-locate", "on"], "", False),
    # the table, card 1, List, then Health without forcing SMART, then 0 twice
    ([], "1\n1\n3\nNo\n0\n0\n", False),
]


def run_all(program, card):
    report = []
    failures = []
    work = tempfile.mkdtemp(prefix="tessvarc-named-")
    try:
        for args, stdin, is_json in RUNS:
            card_path = os.path.join(work, "card.txt")
            shutil.copyfile(card, card_path)
            env = {k: v for k, v in os.environ.items() if not k.startswith("TESSVARC_")}
            env["TESSVARC_EMU_CARD"] = card_path
            run = subprocess.run(program + args, input=stdin.encode(), stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, cwd=work, env=env, timeout=120)
            label = " ".join(args) if args else "(interactive) " + stdin.replace("\n", "\\n")
            if b"Sanitizer" in run.stderr:
                failures.append(f"{label}: {run.stderr.decode('utf-8', 'replace')}")
            # With no card at all the program ends at start-up, before any
            # command runs, with its banner and message: there is no document.
            if is_json and b"No controllers found." not in run.stdout:
                try:
                    json.loads(run.stdout.decode("utf-8"))
                except ValueError as err:
                    failures.append(f"{label}: standard output is not JSON: {err}")
            report.append(f"=== {label} (exit {run.returncode})\n".encode())
            report.append(run.stdout)
            if not run.stdout.endswith(b"\n"):
                report.append(b"\n(no line break at the end)\n")
        return b"".join(report), failures
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    opts = parse_options("card")
    card = os.path.join(ROOT, "emu", "cards", opts.card + ".txt")
    actual, failures = run_all(program_command(opts, "tessvarc-emu"), card)
    for failure in failures:
        print(failure)
    ok = compare("output", os.path.join(HERE, "expected", "named", opts.card + ".out"), actual,
                 opts.update)
    return 0 if ok and not failures else 1


if __name__ == "__main__":
    sys.exit(main())
