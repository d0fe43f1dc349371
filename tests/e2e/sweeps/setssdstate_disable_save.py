"""-setssdstate disabling the module in slot 5 of the default card, current
and non-volatile. After every failed request: either the run is the whole
command (exit 0, the output and the card of the first run: the failure was
one the command may pass over; or no card was found at start-up, and
nothing was touched), or the exit status is non-zero and the PHY
flags of slot 5 are as before, or the output names exactly what is left."""
from fault_sweep import exit_zero_problems, page_bytes

ARGS = ["-c", "1", "-setssdstate", "-slot", "5", "-state", "disable", "-save"]
CARD = "default.txt"
SLOT = 5
FLAGS = 20 + 12 * SLOT + 2
DISABLED = 0x08
PAGES = {(True, True): "current and non-volatile SAS IO Unit Page 1",
         (True, False): "current SAS IO Unit Page 1 only",
         (False, True): "non-volatile SAS IO Unit Page 1 only"}


def disabled(card, copy):
    page = page_bytes(card, "page 15 1 0x10", copy)
    return page is not None and bool(page[FLAGS] & DISABLED)


def check(run):
    state = (disabled(run.card, "current"), disabled(run.card, "nvram"))
    passed = exit_zero_problems(run)
    if passed is not None:
        return passed
    if "\nFailed to set SSD state\n" not in run.stdout and "SSD state set successfully" in run.stdout:
        return ["non-zero exit after the success line"]
    if state == (False, False):
        if run.card != run.card_before:
            return ["the card changed"]
        return []
    told = f"SSD slot {SLOT} is left disabled in the {PAGES[state]}.\n"
    if told not in run.stdout:
        return [f"PHY flags left {state} (current, nvram) without saying so"]
    return []
