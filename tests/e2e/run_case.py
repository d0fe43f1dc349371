#!/usr/bin/env python3
"""Runs one end-to-end case: the program as a process, with its arguments,
standard input and card file, and compares standard output, the exit status
and the files it writes with what is expected.

A case file (cases/<name>.case) holds "key: value" lines:
  program: tessvarc-emu | tessvarc       (default tessvarc-emu)
  args: -c 1 -list                        (split on blanks; quotes group)
  card: default | none | <file>           (a card file of emu/cards or tests/e2e/cards;
                                           "default": no TESSVARC_EMU_CARD at all,
                                           "none": a card file that does not exist yet)
  exit: 0
  json: yes                               (standard output must parse as JSON)
  stdin: <text>                           (\\n for line breaks; or "stdin: <<" then
                                           lines up to a line "<<")
  image: <name>                           (an image file written into the working
                                           directory first by tessvarc-test-images;
                                           repeatable)
  file: <name>                            (a file the run writes in its working
                                           directory, compared with expected/<case>.<name>,
                                           or with expected/<case>.<name>.gz when that
                                           exists: --update writes files above 1 MiB so)
  dir: <name>                             (a folder made in the working directory before
                                           the run; afterwards the name, size and SHA-256
                                           of every file in it are compared with
                                           expected/<case>.<name>.list, and each file of
                                           at most 64 KiB also whole with
                                           expected/<case>.<name>/<file>)
  file-size-limit: <bytes>                (the run's files may not grow beyond this:
                                           a write past it fails, as on a full disk)
  input: <name>                           (a file of inputs/ copied into the working
                                           directory before the run, e.g. an image to flash)
  card-after: yes                         (the card file after the run is compared
                                           with expected/<case>.card)
  trace: yes                              (the driver trace, TESSVARC_EMU_TRACE, is
                                           compared with expected/<case>.trace)
  requests-at-most: <count>               (the run sends at most this many driver
                                           requests: the lines of its driver trace)
The expected standard output is expected/<name>.out. With --update the
expected files are written from this run instead (review them by hand).
"""
import argparse
import gzip
import hashlib
import json
import os
import shlex
import resource
import shutil
import signal
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
# Expected files above this size are kept compressed.
GZIP_ABOVE = 1 << 20
# Files of a compared folder up to this size are compared whole as well.
WHOLE_UP_TO = 64 << 10


def parse_case(path):
    case = {"program": "tessvarc-emu", "args": "", "card": "default", "exit": "0",
            "stdin": "", "json": "no", "files": [], "inputs": [], "images": [], "dirs": [],
            "card-after": "no", "trace": "no"}
    lines = open(path, encoding="utf-8").read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.strip() or line.startswith("#"):
            continue
        key, _, value = line.partition(":")
        key, value = key.strip(), value.strip()
        if key == "stdin" and value == "<<":
            body = []
            while i < len(lines) and lines[i] != "<<":
                body.append(lines[i])
                i += 1
            i += 1
            case["stdin"] = "\n".join(body) + "\n"
        elif key == "stdin":
            case["stdin"] = value.encode().decode("unicode_escape")
        elif key == "file":
            case["files"].append(value)
        elif key == "input":
            case["inputs"].append(value)
        elif key == "image":
            case["images"].append(value)
        elif key == "dir":
            case["dirs"].append(value)
        else:
            case[key] = value
    return case


def find_card(name):
    for folder in (os.path.join(HERE, "cards"), os.path.join(ROOT, "emu", "cards")):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            return path
    raise SystemExit(f"card file {name} not found")


def mask_trace(trace):
    """SCSI IO frames (functions 0x00 and 0x16) carry the low 32 bits of the
    sense buffer's address at bytes 12-15: a property of the process, not of
    the request, so the trace compare leaves it out."""
    out = []
    for line in trace.decode("utf-8", "replace").splitlines(True):
        if " fn=0x00 " in line or " fn=0x16 " in line:
            head, sep, rest = line.partition(" frame=")
            if sep and len(rest) >= 32:
                rest = rest[:24] + "xxxxxxxx" + rest[32:]
            line = head + sep + rest
        out.append(line)
    return "".join(out).encode()


def compare(label, expected_path, actual, update):
    if update:
        os.makedirs(os.path.dirname(expected_path), exist_ok=True)
        with open(expected_path, "wb") as f:
            f.write(actual)
        return True
    if not os.path.exists(expected_path):
        print(f"missing expected file {expected_path}; actual {label}:")
        sys.stdout.write(actual.decode("utf-8", "replace"))
        return False
    expected = open(expected_path, "rb").read()
    if expected == actual:
        return True
    print(f"--- {label} differs from {os.path.relpath(expected_path, ROOT)}")
    import difflib
    for line in difflib.unified_diff(expected.decode("utf-8", "replace").splitlines(True),
                                     actual.decode("utf-8", "replace").splitlines(True),
                                     "expected", "actual"):
        sys.stdout.write(line)
    print()
    return False


def compare_file(label, expected_path, actual, update):
    """compare() against expected_path, or its compressed form (.gz) when
    that is there; an update compresses what is above GZIP_ABOVE."""
    packed = expected_path + ".gz"
    if update:
        for stale in (expected_path, packed):
            if os.path.exists(stale):
                os.remove(stale)
        if len(actual) > GZIP_ABOVE:
            os.makedirs(os.path.dirname(packed), exist_ok=True)
            with open(packed, "wb") as f:
                f.write(gzip.compress(actual, mtime=0))
            return True
        return compare(label, expected_path, actual, update)
    if os.path.exists(packed):
        expected = gzip.decompress(open(packed, "rb").read())
        if expected == actual:
            return True
        print(f"--- {label} differs from {os.path.relpath(packed, ROOT)} (decompressed)")
        import difflib
        shown = 0
        for line in difflib.unified_diff(expected.decode("utf-8", "replace").splitlines(True),
                                         actual.decode("utf-8", "replace").splitlines(True),
                                         "expected", "actual"):
            sys.stdout.write(line)
            shown += 1
            if shown > 200:
                print("... (more differences)")
                break
        print()
        return False
    return compare(label, expected_path, actual, update)


def compare_dir(case_name, folder, work, update):
    """The files a run wrote into a folder: their names, sizes and digests,
    and the small ones whole."""
    path = os.path.join(work, folder)
    names = sorted(os.listdir(path)) if os.path.isdir(path) else []
    listing = []
    ok = True
    whole_dir = os.path.join(HERE, "expected", f"{case_name}.{folder}")
    if update and os.path.isdir(whole_dir):
        shutil.rmtree(whole_dir)
    for name in names:
        data = open(os.path.join(path, name), "rb").read()
        listing.append(f"{name} {len(data)} {hashlib.sha256(data).hexdigest()}\n")
        if len(data) <= WHOLE_UP_TO:
            ok &= compare(f"{folder}/{name}", os.path.join(whole_dir, name), data, update)
    if not names:
        listing.append("(no files)\n")
    ok &= compare(f"files in {folder}", os.path.join(HERE, "expected", f"{case_name}.{folder}.list"),
                  "".join(listing).encode(), update)
    return ok


def parse_options(subject):
    """The runners' command line: --bindir, --update, --runner and the case
    or card to run (`subject`)."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--bindir", required=True)
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--runner", default="",
                        help="program that runs the built programs (qemu-i386 for a 32-bit build "
                             "on a kernel that cannot run one)")
    parser.add_argument(subject)
    return parser.parse_args()


def program_command(opts, program):
    """The command that starts a built program, through the runner if any."""
    return shlex.split(opts.runner) + [os.path.join(os.path.abspath(opts.bindir), program)]


def main():
    opts = parse_options("case")
    name = opts.case
    case = parse_case(os.path.join(HERE, "cases", name + ".case"))
    program = program_command(opts, case["program"])
    work = tempfile.mkdtemp(prefix="tessvarc-e2e-")
    try:
        env = {k: v for k, v in os.environ.items() if not k.startswith("TESSVARC_")}
        card_path = os.path.join(work, "card.txt")
        if case["card"] == "none":
            env["TESSVARC_EMU_CARD"] = card_path
        elif case["card"] != "default":
            shutil.copyfile(find_card(case["card"]), card_path)
            env["TESSVARC_EMU_CARD"] = card_path
        for given in case["inputs"]:
            shutil.copyfile(os.path.join(HERE, "inputs", given), os.path.join(work, given))
        if case["images"]:
            subprocess.run(program_command(opts, "tessvarc-test-images") + [work] + case["images"],
                           check=True, timeout=60)
        for folder in case["dirs"]:
            os.makedirs(os.path.join(work, folder), exist_ok=True)
        trace_path = os.path.join(work, "trace.txt")
        most = case.get("requests-at-most")
        if case["trace"] == "yes" or most is not None:
            env["TESSVARC_EMU_TRACE"] = trace_path
        limit = case.get("file-size-limit")

        def limit_files():
            # A write beyond the limit then fails with EFBIG instead of
            # ending the process.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (int(limit), int(limit)))

        run = subprocess.run(program + shlex.split(case["args"]), input=case["stdin"].encode(),
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=work, env=env,
                             timeout=120, preexec_fn=limit_files if limit else None)
        ok = True
        if run.stderr and b"Sanitizer" in run.stderr:
            print(run.stderr.decode("utf-8", "replace"))
            ok = False
        if str(run.returncode) != case["exit"]:
            print(f"exit status {run.returncode}, expected {case['exit']}")
            ok = False
        if case["json"] == "yes":
            try:
                json.loads(run.stdout.decode("utf-8"))
            except ValueError as err:
                print(f"standard output is not JSON: {err}")
                ok = False
        ok &= compare("standard output", os.path.join(HERE, "expected", name + ".out"),
                      run.stdout, opts.update)
        for written in case["files"]:
            path = os.path.join(work, written)
            actual = open(path, "rb").read() if os.path.exists(path) else b"(not written)\n"
            ok &= compare_file(written, os.path.join(HERE, "expected", f"{name}.{written}"), actual,
                               opts.update)
        for folder in case["dirs"]:
            ok &= compare_dir(name, folder, work, opts.update)
        if case["card-after"] == "yes":
            ok &= compare("card file", os.path.join(HERE, "expected", name + ".card"),
                          open(card_path, "rb").read(), opts.update)
        if case["trace"] == "yes":
            actual = mask_trace(open(trace_path, "rb").read()) if os.path.exists(trace_path) else b""
            ok &= compare("driver trace", os.path.join(HERE, "expected", name + ".trace"), actual,
                          opts.update)
        if most is not None:
            sent = 0
            if os.path.exists(trace_path):
                with open(trace_path, "rb") as trace:
                    sent = sum(1 for _ in trace)
            if sent > int(most):
                print(f"{sent} driver requests, expected at most {most}")
                ok = False
        if not ok and run.stderr:
            print("standard error:")
            print(run.stderr.decode("utf-8", "replace"))
        return 0 if ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
