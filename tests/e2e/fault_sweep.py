#!/usr/bin/env python3
"""The fault sweep: runs one command against a card file once and counts its
requests from the driver trace (TESSVARC_EMU_TRACE), then runs it again,
each time from a fresh copy of the card file, failing request 1, 2, ..., N
in turn, and hands every run to a checker the sweep supplies.

Each request is failed in each way that applies to it:
  ioctl-error   every request: the ioctl fails with EIO
  ioc-status    every COMMAND request: the function answers IOCStatus 0x0004
                without doing anything
  module-abort  every SATA passthrough request (function 0x1C): the module
                aborts the ATA command without running it
The fault is a [fault] section appended to the copy of the card file,
matching the request's code (and function) with `skip` = the matching
requests before it and `times` = 1 (emu/README.md). The harness checks that
the run went as the first one did up to that request and that the fault
fired on it; a fault that fired elsewhere or not at all is a problem of its
own.

A sweep is a file sweeps/<name>.py defining
  ARGS   the command line (a list of words)
  CARD   a card file of emu/cards or tests/e2e/cards
  STDIN  (optional) standard input
  KINDS  (optional) the ways of failing, default all three
  STARTUP_ARGS (optional) a command line that does only the program's
         start-up (e.g. -c 1 and an unknown command): the requests the
         first run shares with it from the start are not failed, so that
         a sweep of a long command spends its runs on the command itself
  IMAGES (optional) image files tessvarc-test-images writes into the run's
         working folder first (as a case's "image:" key)
  INPUTS (optional) files of inputs/ copied into it (as "input:")
  check(run) -> list of problems (strings); empty when the run is sound.
`run` has: kind, request (index 1-based, code, function, line), stdout,
stderr (text), exit, card (the card file after the run, text), card_before,
and baseline (the first run: stdout, exit, card, requests).
Helpers for checkers: sections(card_text), page_bytes(card_text, header),
image_bytes(card_text, type), module_keys(card_text, slot),
exit_zero_problems(run), success_line_problems(run, *lines); STARTUP_ONLY is
the STARTUP_ARGS of a command on card 1.

  fault_sweep.py --bindir BUILD [--runner R] [--jobs N] [--every K] NAME
runs sweeps/NAME.py (with --every K only every K-th failure of its plan)
and prints each problem, then how many runs it made,
how many requests it failed in turn, and how long it took.
"""
import argparse
import concurrent.futures
import importlib.util
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

from run_case import HERE, find_card, mask_trace

COMMAND = 0xC0484C14
SATA_PASSTHROUGH = 0x1C
EIO = 5
IOC_STATUS = 0x0004
KINDS = ("ioctl-error", "ioc-status", "module-abort")
# The errors the driver gives before it looks for an armed fault: such a
# request never counts against a fault's skip.
ERRORS_BEFORE_FAULTS = {"EBADF", "ENOTTY", "EFAULT"}

TRACE_LINE = re.compile(r"^ioctl 0x([0-9A-F]{8}) (\S+) ioc=(\d+)(?: fn=0x([0-9A-F]{2}))?.* -> (.*)$")


class Request:
    def __init__(self, index, line):
        match = TRACE_LINE.match(line)
        if not match:
            raise ValueError(f"trace line {index} not understood: {line}")
        self.index = index
        self.line = line
        self.code = int(match.group(1), 16)
        self.function = int(match.group(4), 16) if match.group(4) else None
        self.answer = match.group(5)
        self.failed_early = any(f"({name})" in self.answer for name in ERRORS_BEFORE_FAULTS) or (
            self.function is not None and self.answer.startswith("errno="))

    def head(self):
        return self.line.rpartition(" -> ")[0]

    def __str__(self):
        fn = f" fn=0x{self.function:02X}" if self.function is not None else ""
        return f"request {self.index} (0x{self.code:08X}{fn})"


class Result:
    pass


def parse_trace(text):
    return [Request(i + 1, line) for i, line in enumerate(text.splitlines())]


def sections(card_text):
    """The card file's sections in order: (header, [(key, value), ...]);
    header is the text between the brackets."""
    out = []
    for line in card_text.splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("["):
            out.append((line.strip()[1:-1], []))
        elif out:
            key, _, value = line.partition("=")
            out[-1][1].append((key.strip(), value.strip()))
    return out


def page_bytes(card_text, header, copy="current"):
    """The bytes of one copy (current, default, nvram) of a page the card
    file lists (header e.g. "page 15 1 0x10"), or None when it lists none:
    the page is then the one a new card has."""
    for name, keys in sections(card_text):
        if name != header:
            continue
        data = "".join(v for k, v in keys if k == "data")
        if data:
            return bytes.fromhex(data)
        return bytes.fromhex("".join(v for k, v in keys if k == copy))
    return None


def image_bytes(card_text, image_type):
    """The flash image of a type the card file holds, or None when it lists
    none: the flash then holds the image a new card has."""
    for name, keys in sections(card_text):
        if name == f"image {image_type}":
            data = "".join(v for k, v in keys if k == "data")
            return bytes.fromhex(data) if data else None
    return None


def module_keys(card_text, slot):
    """The keys of a module's section as a dictionary; the lines of a
    repeated key (config-image, firmware-image) joined."""
    out = {}
    for name, keys in sections(card_text):
        if name == f"module {slot}":
            for key, value in keys:
                out[key] = out.get(key, "") + value
    return out


def fault_section(kind, request, skip):
    lines = ["", "[fault]"]
    if kind == "ioctl-error":
        lines += ["kind = ioctl-error", f"request = 0x{request.code:08X}", f"errno = {EIO}"]
        if request.function is not None:
            lines.append(f"function = 0x{request.function:02X}")
    elif kind == "ioc-status":
        lines += ["kind = answer", f"function = 0x{request.function:02X}",
                  f"ioc-status = 0x{IOC_STATUS:04X}", "log-info = 0"]
    else:
        lines += ["kind = module-abort"]
    lines += ["times = 1", f"skip = {skip}", ""]
    return "\n".join(lines)


def applies(kind, request):
    if kind == "ioctl-error":
        return True
    if kind == "ioc-status":
        return request.function is not None
    return request.function == SATA_PASSTHROUGH


def matches(kind, fault_request, other):
    """Whether `other` counts against a fault aimed at `fault_request`."""
    if other.failed_early:
        return False
    if kind == "module-abort":
        return other.function == SATA_PASSTHROUGH
    if kind == "ioc-status":
        return other.function == fault_request.function
    return other.code == fault_request.code and other.function == fault_request.function


def without_added_faults(before, after):
    """The card file after the run less a [fault] section the run left
    behind beyond the ones the card had (a fault that did not fire)."""
    extra = after.count("\n[fault]\n") - before.count("\n[fault]\n")
    while extra > 0:
        at = after.rfind("\n[fault]\n")
        end = after.find("\n[", at + 1)
        after = after[:at] + (after[end:] if end >= 0 else "\n")
        extra -= 1
    return after


NO_CARD = "No controllers found."
SUCCESS_LINE = "Execution completed successfully."
# The program's start-up on card 1 and nothing else (a command it does not
# know): the STARTUP_ARGS of a sweep that leaves the start-up requests alone.
STARTUP_ONLY = ["-c", "1", "-nosuchcommand"]


def success_line_problems(run, *lines):
    """For a run that exited non-zero: a problem when the dispatcher's
    success line, or one of the command's own success `lines`, is in its
    output."""
    if any(line in run.stdout for line in (SUCCESS_LINE,) + lines):
        return ["non-zero exit after the success line"]
    return []


def same_as_first_run(run):
    return run.stdout == run.baseline.stdout and run.card == run.baseline.card


def exit_zero_problems(run, whole=same_as_first_run):
    """What is wrong with a run that exited 0, or None for one that did not.
    Exit 0 is one of two runs: the card's probe failed at start-up (no card
    found, the program ends as it does on a machine without one, and nothing
    may have changed), or the failure was one the command passes over and
    the run is the whole command (`whole`)."""
    if run.exit != 0:
        return None
    if NO_CARD in run.stdout:
        return [] if run.card == run.card_before else ["no card found, but the card changed"]
    return [] if whole(run) else ["exit 0, but not the whole command's output and card"]


def run_once(program, args, card_text, stdin, work, setup=None):
    os.makedirs(work, exist_ok=True)
    if setup:
        setup(work)
    card_path = os.path.join(work, "card.txt")
    trace_path = os.path.join(work, "trace.txt")
    with open(card_path, "w", encoding="utf-8") as f:
        f.write(card_text)
    if os.path.exists(trace_path):
        os.remove(trace_path)
    env = {k: v for k, v in os.environ.items() if not k.startswith("TESSVARC_")}
    env["TESSVARC_EMU_CARD"] = card_path
    env["TESSVARC_EMU_TRACE"] = trace_path
    run = subprocess.run(program + args, input=stdin.encode(), stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, cwd=work, env=env, timeout=120)
    result = Result()
    result.stdout = run.stdout.decode("utf-8", "replace")
    result.stderr = run.stderr.decode("utf-8", "replace")
    result.exit = run.returncode
    result.card = open(card_path, encoding="utf-8").read()
    trace = mask_trace(open(trace_path, "rb").read()) if os.path.exists(trace_path) else b""
    result.trace = trace.decode("utf-8", "replace").splitlines()
    return result


def fired_problem(kind, request, baseline, run):
    """Empty when the run went as the first one up to the request and the
    fault fired on it."""
    k = request.index
    if run.trace[:k - 1] != baseline.trace[:k - 1]:
        return "the run differs from the first one before the failed request"
    if len(run.trace) < k or not run.trace[k - 1].startswith(request.head() + " -> "):
        return "the failed request was not sent"
    answer = run.trace[k - 1].rpartition(" -> ")[2]
    if kind == "ioctl-error" and answer != f"errno={EIO} (EIO)":
        return f"the fault did not fire ({answer})"
    if kind == "ioc-status" and not answer.startswith(f"iocstatus=0x{IOC_STATUS:04X} "):
        return f"the fault did not fire ({answer})"
    return ""


def shared_start(first, second):
    """How many requests two traces share from the start."""
    count = 0
    for a, b in zip(first, second):
        if a != b:
            break
        count += 1
    return count


def sweep(program, args, card_file, check, stdin="", kinds=KINDS, jobs=2, startup_args=None, every=1,
          setup=None):
    """Runs the sweep; returns (runs made, requests counted, problems).
    setup(folder), when given, prepares each run's working folder."""
    card_before = open(card_file, encoding="utf-8").read()
    work = tempfile.mkdtemp(prefix="tessvarc-sweep-")
    try:
        baseline = run_once(program, args, card_before, stdin, os.path.join(work, "first"), setup)
        if "Sanitizer" in baseline.stderr:
            return 1, 0, ["first run: " + baseline.stderr]
        baseline.requests = parse_trace("\n".join(baseline.trace))
        runs = 1
        start = 0
        if startup_args is not None:
            startup = run_once(program, startup_args, card_before, "", os.path.join(work, "startup"), setup)
            runs += 1
            start = shared_start(baseline.trace, startup.trace)
        plan = []
        for request in baseline.requests[start:]:
            for kind in kinds:
                if applies(kind, request):
                    skip = sum(1 for other in baseline.requests[:request.index - 1]
                               if matches(kind, request, other))
                    plan.append((kind, request, skip))
        # A sample for the slow trees: every K-th failure of the plan, so
        # that each way of failing still comes round.
        plan = plan[::every]

        def one(item):
            number, (kind, request, skip) = item
            folder = os.path.join(work, str(number))
            run = run_once(program, args, card_before + fault_section(kind, request, skip), stdin,
                           folder, setup)
            shutil.rmtree(folder, ignore_errors=True)
            run.kind, run.request, run.baseline = kind, request, baseline
            run.card_before = card_before
            run.card = without_added_faults(card_before, run.card)
            problems = []
            if "Sanitizer" in run.stderr:
                problems.append(run.stderr)
            harness = fired_problem(kind, request, baseline, run)
            if harness:
                problems.append(harness)
            problems += check(run) or []
            return [f"{kind} on {request}: {p}" for p in problems]

        with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
            problems = [p for found in pool.map(one, enumerate(plan)) for p in found]
        return runs + len(plan), len(baseline.requests) - start, problems
    finally:
        shutil.rmtree(work, ignore_errors=True)


def load(name):
    path = os.path.join(HERE, "sweeps", name + ".py")
    spec = importlib.util.spec_from_file_location("sweep_" + name, path)
    module = importlib.util.module_from_spec(spec)
    sys.path.insert(0, HERE)
    spec.loader.exec_module(module)
    return module


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bindir", required=True)
    parser.add_argument("--runner", default="")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--every", type=int, default=1,
                        help="make only every K-th failure of the plan (a sample for a slow build)")
    parser.add_argument("sweep")
    opts = parser.parse_args()
    module = load(opts.sweep)
    began = time.monotonic()
    runner = shlex.split(opts.runner)
    program = runner + [os.path.join(os.path.abspath(opts.bindir), "tessvarc-emu")]
    images = getattr(module, "IMAGES", [])
    inputs = getattr(module, "INPUTS", [])
    prepared = tempfile.mkdtemp(prefix="tessvarc-sweep-files-")
    try:
        # The files are made once and copied into each run's folder.
        if images:
            subprocess.run(runner + [os.path.join(os.path.abspath(opts.bindir), "tessvarc-test-images"),
                                     prepared] + images, check=True, timeout=60)
        for given in inputs:
            shutil.copyfile(os.path.join(HERE, "inputs", given), os.path.join(prepared, given))

        def setup(folder):
            for name in os.listdir(prepared):
                shutil.copyfile(os.path.join(prepared, name), os.path.join(folder, name))

        runs, requests, problems = sweep(program, module.ARGS, find_card(module.CARD), module.check,
                                         getattr(module, "STDIN", ""), getattr(module, "KINDS", KINDS),
                                         opts.jobs, getattr(module, "STARTUP_ARGS", None), max(1, opts.every),
                                         setup if images or inputs else None)
    finally:
        shutil.rmtree(prepared, ignore_errors=True)
    for problem in problems:
        print(problem)
    print(f"fault sweep {opts.sweep}: {runs} runs, {requests} requests, {len(problems)} problems,"
          f" {time.monotonic() - began:.1f} s")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
