#!/usr/bin/env python3
"""Runs the reading commands against one named card file of emu/cards and
compares every run's standard output and exit status with
expected/named/<card>.out.

Each run starts from a fresh copy of the card file, so a run that changes the
card (the locate indication) does not change what the next one sees. The
JSON runs must also parse as JSON (unless no card was found at start-up). With --update the expected file is written
from this run instead (review it by hand).
"""
import argparse
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

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
    parser = argparse.ArgumentParser()
    parser.add_argument("--bindir", required=True)
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--runner", default="",
                        help="program that runs the built programs (qemu-i386 for a 32-bit build "
                             "on a kernel that cannot run one)")
    parser.add_argument("card")
    opts = parser.parse_args()

    card = os.path.join(ROOT, "emu", "cards", opts.card + ".txt")
    program = shlex.split(opts.runner) + [os.path.join(os.path.abspath(opts.bindir), "tessvarc-emu")]
    actual, failures = run_all(program, card)
    expected_path = os.path.join(HERE, "expected", "named", opts.card + ".out")
    for failure in failures:
        print(failure)
    if opts.update:
        os.makedirs(os.path.dirname(expected_path), exist_ok=True)
        with open(expected_path, "wb") as f:
            f.write(actual)
        return 1 if failures else 0
    if not os.path.exists(expected_path):
        print(f"missing expected file {os.path.relpath(expected_path, ROOT)}")
        return 1
    expected = open(expected_path, "rb").read()
    if expected != actual:
        import difflib
        print(f"--- output differs from {os.path.relpath(expected_path, ROOT)}")
        for line in difflib.unified_diff(expected.decode("utf-8", "replace").splitlines(True),
                                         actual.decode("utf-8", "replace").splitlines(True),
                                         "expected", "actual"):
            sys.stdout.write(line)
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
