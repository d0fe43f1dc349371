"""-flashssd on the SATA module in slot 4 of the default card: the image's
customer IDs, the download, the module's own IDs back. After every failed
request: either the run is the whole command (exit 0, the success line
and the card of the first run), or no card was found at start-up and nothing was
touched, or the exit status is non-zero and the module has its old
firmware, or the new one only when the output says so; and the module has
its own customer IDs unless the output says they could not be restored."""
from card_checks import IDS_NOT_RESTORED, customer_ids
from fault_sweep import STARTUP_ONLY, exit_zero_problems, module_keys, success_line_problems

ARGS = ["-c", "1", "-flashssd", "-slot", "4", "-fw", "ssd-fw-zk0301ab.bin"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
INPUTS = ["ssd-fw-zk0301ab.bin"]
SLOT = 4
DONE = "SSD firmware download successfully completed."


def check(run):
    # A failure the command passes over may change what it prints (a slot's
    # location it could not read), not what it does.
    passed = exit_zero_problems(run, lambda r: DONE in r.stdout and r.card == r.baseline.card)
    if passed is not None:
        return passed
    claimed = success_line_problems(run)
    if claimed:
        return claimed
    problems = []
    module = module_keys(run.card, SLOT)
    old = module_keys(run.card_before, SLOT)
    new = module_keys(run.baseline.card, SLOT)
    if module.get("firmware") == new.get("firmware") and DONE not in run.stdout:
        problems.append("the new firmware is on the module, but the output says the download failed")
    if module.get("firmware") not in (old.get("firmware"), new.get("firmware")):
        problems.append("the module holds neither firmware")
    if customer_ids(run.card, SLOT) != customer_ids(run.card_before, SLOT) and not any(text in run.stdout for text in IDS_NOT_RESTORED):
        problems.append("the customer IDs were left changed without saying so")
    return problems
