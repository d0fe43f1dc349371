#!/usr/bin/env python3
"""Runs a sequence of commands against one card file, each run seeing what
the runs before it left, and compares every run's standard output and exit
status, and the card file at the end, with expected/sequences/<name>.out.

A sequence file (sequences/<name>.seq) holds "key: value" lines:
  card: <file>        a card file of emu/cards or tests/e2e/cards (copied)
  run: <arguments>    one run (repeatable; split on blanks)
  input: <name>       a file of inputs/ copied into the working directory
                      before the first run (repeatable)
With --update the expected file is written from this run instead (review it
by hand).
"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

from run_case import HERE, compare, find_card, parse_options, program_command


def main():
    opts = parse_options("sequence")
    card, runs, inputs = None, [], []
    for line in open(os.path.join(HERE, "sequences", opts.sequence + ".seq"), encoding="utf-8"):
        if not line.strip() or line.startswith("#"):
            continue
        key, _, value = line.partition(":")
        if key.strip() == "card":
            card = find_card(value.strip())
        elif key.strip() == "run":
            runs.append(shlex.split(value))
        elif key.strip() == "input":
            inputs.append(value.strip())
    program = program_command(opts, "tessvarc-emu")
    work = tempfile.mkdtemp(prefix="tessvarc-seq-")
    try:
        card_path = os.path.join(work, "card.txt")
        shutil.copyfile(card, card_path)
        for name in inputs:
            shutil.copyfile(os.path.join(HERE, "inputs", name), os.path.join(work, name))
        env = {k: v for k, v in os.environ.items() if not k.startswith("TESSVARC_")}
        env["TESSVARC_EMU_CARD"] = card_path
        report, ok = [], True
        for args in runs:
            run = subprocess.run(program + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 cwd=work, env=env, timeout=120)
            if b"Sanitizer" in run.stderr:
                print(run.stderr.decode("utf-8", "replace"))
                ok = False
            report.append(f"=== {' '.join(args)} (exit {run.returncode})\n".encode())
            report.append(run.stdout)
        report.append(b"=== the card file afterwards\n")
        report.append(open(card_path, "rb").read())
        ok &= compare("output", os.path.join(HERE, "expected", "sequences", opts.sequence + ".out"),
                      b"".join(report), opts.update)
        return 0 if ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
