"""-flashssd on the SATA module in slot 4 of the default card: the image's
customer IDs, the download, the module's own IDs back. After every failed
request: either the run is the whole command (exit 0, the success line
and the card of the first run), or no card was found at start-up and nothing was
touched, or the exit status is non-zero and the module has its old
firmware, or the new one only when the output says so; and the module has
its own customer IDs unless the output says they could not be restored."""
from fault_sweep import module_keys

ARGS = ["-c", "1", "-flashssd", "-slot", "4", "-fw", "ssd-fw-zk0301ab.bin"]
CARD = "default.txt"
STARTUP_ARGS = ["-c", "1", "-nosuchcommand"]
INPUTS = ["ssd-fw-zk0301ab.bin"]
SLOT = 4
DONE = "SSD firmware download successfully completed."
# The customer IDs in the module's configuration image, and those of a
# module whose image the host never wrote.
MAIN_ID, SUB_ID = 1544, 1548
NEW_MODULE_IDS = (148, 2)
NOT_RESTORED = ("Failed to restore original main and sub customer ID.",
                "Failed to restore Main and Sub Customer Id.")


def customer_ids(card, slot):
    image = module_keys(card, slot).get("config-image")
    if not image:
        return NEW_MODULE_IDS
    data = bytes.fromhex(image)
    return (int.from_bytes(data[MAIN_ID:MAIN_ID + 4], "little"),
            int.from_bytes(data[SUB_ID:SUB_ID + 4], "little"))


def check(run):
    if run.exit == 0 and "No controllers found." in run.stdout:
        return [] if run.card == run.card_before else ["the card changed"]
    if run.exit == 0:
        # A failure the command passes over may change what it prints (a
        # slot's location it could not read), not what it does.
        if DONE not in run.stdout or run.card != run.baseline.card:
            return ["exit 0, but not the whole command's card"]
        return []
    if "Execution completed successfully." in run.stdout:
        return ["non-zero exit after the success line"]
    problems = []
    module = module_keys(run.card, SLOT)
    old = module_keys(run.card_before, SLOT)
    new = module_keys(run.baseline.card, SLOT)
    if module.get("firmware") == new.get("firmware") and DONE not in run.stdout:
        problems.append("the new firmware is on the module, but the output says the download failed")
    if module.get("firmware") not in (old.get("firmware"), new.get("firmware")):
        problems.append("the module holds neither firmware")
    if customer_ids(run.card, SLOT) != customer_ids(run.card_before, SLOT) and not any(text in run.stdout for text in NOT_RESTORED):
        problems.append("the customer IDs were left changed without saying so")
    return problems
