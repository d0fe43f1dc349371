"""-f with a valid controller firmware image on the default card. After
every failed request: either the run is the whole command (exit 0, the
output and the card of the first run), or no card was found at start-up
and nothing was touched, or the exit status is non-zero and the flash
holds the old firmware with the card as before, or the new firmware only
when the output says that its download went through."""
from fault_sweep import STARTUP_ONLY, exit_zero_problems, image_bytes, success_line_problems

ARGS = ["-c", "1", "-f", "fw-good.bin"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
IMAGES = ["fw-good.bin"]
DOWNLOADED = "\t\tFirmware Download Successful.\n\n"


def check(run):
    passed = exit_zero_problems(run)
    if passed is not None:
        return passed
    claimed = success_line_problems(run)
    if claimed:
        return claimed
    firmware = image_bytes(run.card, 1)
    if firmware == image_bytes(run.card_before, 1):
        return [] if run.card == run.card_before else ["the card changed, the firmware did not"]
    if firmware != image_bytes(run.baseline.card, 1):
        return ["the flash holds neither the old nor the new firmware"]
    if DOWNLOADED not in run.stdout:
        return ["the new firmware is in flash, but the output does not say it was downloaded"]
    return []
