"""-updatepkg on the default card with a package of a legacy BIOS, module
firmware and the controller firmware, in that order. After every failed
request: either the run is the whole update (exit 0, the success line and
the card of the first run), or no card was found at start-up and nothing
was touched, or the exit status is non-zero and the card shows exactly what
the output's entry report says: the BIOS region and the controller
firmware are new only for an entry reported written (the firmware only
after the output says its download went through), a module has the new
firmware only when the module entry was flashed (all four when it is
reported written), and every module has its own customer IDs unless the
output says they could not be restored."""
from card_checks import IDS_NOT_RESTORED, customer_ids
from fault_sweep import STARTUP_ONLY, exit_zero_problems, image_bytes, module_keys, success_line_problems

ARGS = ["-c", "1", "-updatepkg", "pkg-fw-last.bin"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
IMAGES = ["pkg-fw-last.bin"]
SLOTS = (4, 5, 6, 7)
DONE = "Corvexium package updated successfully."
ENTRY = "\t\tPackage entry {}, type 0x{:x}: {}.\n"


def outcome(stdout, index, image_type):
    for word in ("written", "failed", "not flashed"):
        if ENTRY.format(index, image_type, word) in stdout:
            return word
    return None


def image_state(run, image_type):
    now = image_bytes(run.card, image_type)
    if now == image_bytes(run.card_before, image_type):
        return "old"
    return "new" if now == image_bytes(run.baseline.card, image_type) else "other"


def check(run):
    passed = exit_zero_problems(run, lambda r: DONE in r.stdout and r.card == r.baseline.card)
    if passed is not None:
        return passed
    claimed = success_line_problems(run, DONE)
    if claimed:
        return claimed
    problems = []
    bios, module_entry, firmware = outcome(run.stdout, 0, 2), outcome(run.stdout, 1, 5), outcome(run.stdout, 2, 1)
    reported = bios is not None
    if reported and (module_entry is None or firmware is None):
        problems.append("the entry report is incomplete")
    if (image_state(run, 2) == "new") != (bios == "written"):
        problems.append(f"BIOS region {image_state(run, 2)}, its entry reported {bios}")
    if (image_state(run, 1) == "new") != (firmware == "written"):
        # A download that went in but did not verify or reset is in flash.
        if not (image_state(run, 1) == "new" and firmware == "failed" and
                "\t\tFirmware Download Successful.\n\n" in run.stdout):
            problems.append(f"firmware {image_state(run, 1)}, its entry reported {firmware}")
    if "other" in (image_state(run, 1), image_state(run, 2)):
        problems.append("an image in flash is neither the old nor the new one")
    new_firmware = module_keys(run.baseline.card, SLOTS[0]).get("firmware")
    for slot in SLOTS:
        has_new = module_keys(run.card, slot).get("firmware") == new_firmware
        if has_new and module_entry not in ("written", "failed"):
            problems.append(f"slot {slot} has the new firmware, the module entry reported {module_entry}")
        if not has_new and module_entry == "written":
            problems.append(f"slot {slot} has its old firmware, the module entry reported written")
        if customer_ids(run.card, slot) != customer_ids(run.card_before, slot) and not any(
                text in run.stdout for text in IDS_NOT_RESTORED):
            problems.append(f"slot {slot}: customer IDs left changed without saying so")
    return problems
