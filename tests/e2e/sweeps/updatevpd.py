"""-updatevpd writing the good VPD file to the default card. After every
failed request: either the run is the whole command (exit 0, the output and
the card of the first run), or no card was found at start-up and nothing was
touched, or the exit status is non-zero, the success line is not printed and
manufacturing page 1 is as before in every copy."""
import os

from fault_sweep import exit_zero_problems, page_bytes

VPD_FILE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "inputs", "vpd-good.txt")
ARGS = ["-c", "1", "-updatevpd", VPD_FILE]
CARD = "default.txt"
KINDS = ("ioctl-error", "ioc-status")  # the command sends nothing to a module
PAGE = "page 9 1"


def check(run):
    passed = exit_zero_problems(run)
    if passed is not None:
        return passed
    problems = []
    if "VPD written successfully." in run.stdout:
        problems.append("non-zero exit after the success line")
    for copy in ("current", "default", "nvram"):
        if page_bytes(run.card, PAGE, copy) != page_bytes(run.card_before, PAGE, copy):
            problems.append(f"the {copy} copy of manufacturing page 1 changed")
    return problems
