#!/usr/bin/env python3
"""A run whose standard output cannot be written (a full disk: /dev/full)
ends with 1, whatever its command answered; the same run with its output
written ends as it always did. tessvarc-emu runs on a copy of the default
card file; the shipped tessvarc answers -help without a card, through the
POSIX port itself.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from run_case import find_card, program_command

# (program, arguments, exit status when the output is written)
RUNS = [
    ("tessvarc-emu", ["-c", "1", "-list"], 0),
    ("tessvarc-emu", ["-c", "1", "-list", "extra"], 2),
    ("tessvarc", ["-help"], 0),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bindir", required=True)
    parser.add_argument("--runner", default="")
    opts = parser.parse_args()
    failures = []
    work = tempfile.mkdtemp(prefix="tessvarc-full-")
    try:
        for program, args, written_status in RUNS:
            for output, expected in (("/dev/null", written_status), ("/dev/full", 1)):
                card_path = os.path.join(work, "card.txt")
                shutil.copyfile(find_card("default.txt"), card_path)
                env = {k: v for k, v in os.environ.items() if not k.startswith("TESSVARC_")}
                env["TESSVARC_EMU_CARD"] = card_path
                with open(output, "wb") as sink:
                    run = subprocess.run(program_command(opts, program) + args, stdin=subprocess.DEVNULL,
                                         stdout=sink, stderr=subprocess.PIPE, cwd=work, env=env, timeout=120)
                label = f"{program} {' '.join(args)} >{output}"
                if run.returncode != expected:
                    failures.append(f"{label}: exit {run.returncode}, expected {expected}")
                if b"Sanitizer" in run.stderr or b"runtime error" in run.stderr:
                    failures.append(f"{label}: {run.stderr.decode('utf-8', 'replace')}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure)
    print(f"{len(RUNS) * 2} runs, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
