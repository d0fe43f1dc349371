"""The checker the fault sweeps of -format and -dlc share. After a run in
which one request failed, one of these holds:
  - no card was found at start-up, and nothing was touched;
  - the run is the whole command: exit 0, the first run's output and card;
  - the exit status is non-zero, and the card holds a volume of the same
    members as before, or the output names that the card is left without
    one; every module's media erase mode is as before; manufacturing page
    10's DLC bit says what the modules say; and every module has the same
    DLC state as before, or the output says that the DLC state was set on
    every module (a later step failed) or which were left changed.
The success line of the dispatcher never stands beside a failure."""
import re

import card_checks
from fault_sweep import NO_CARD, success_line_problems

NO_VOLUME = (
    "\nERROR: Corvexium could not be brought in usable state.\n",
    "\nERROR : Cannot re-create volume. The components are left without a volume.\n",
)
DLC_LEFT = "\nERROR : Failed to restore the DLC settings of the component at "
DLC_SET = "\n DLC state set successfully\n"
# A component's name: a board type that cannot be read while it is looked
# up gives the naming's own message and the location "Unknown".
COMPONENT = re.compile(r'"Cage=\d+ Location=\w+"')
NAMING_MESSAGES = ("\n\n Invalid Board Type \n\n", "\n Invalid Board Type PE\n\n")


def same_output(first, second):
    def plain(text):
        for message in NAMING_MESSAGES:
            text = text.replace(message, "")
        return COMPONENT.sub('"Cage"', text)
    return plain(first) == plain(second)


def check(run):
    if NO_CARD in run.stdout:
        return [] if run.card == run.card_before else ["no card found, but the card changed"]
    if run.exit == 0:
        if not same_output(run.stdout, run.baseline.stdout):
            return ["exit 0, but not the whole command's output"]
        if run.card != run.baseline.card:
            return ["exit 0, but not the whole command's card"]
        return []
    problems = success_line_problems(run)
    before, after = run.card_before, run.card
    if card_checks.volumes(after) != card_checks.volumes(before):
        if card_checks.volumes(after) or not any(text in run.stdout for text in NO_VOLUME):
            problems.append(f"volumes {card_checks.volumes(after)} (were {card_checks.volumes(before)})"
                            " without saying so")
    if card_checks.erase_modes(after) != card_checks.erase_modes(before):
        problems.append(f"erase modes {card_checks.erase_modes(after)} (were {card_checks.erase_modes(before)})")
    if card_checks.dlc_states(after) != card_checks.dlc_states(before) and DLC_LEFT not in run.stdout \
            and DLC_SET not in run.stdout:
        problems.append(f"DLC states {card_checks.dlc_states(after)} (were {card_checks.dlc_states(before)})")
    consistent = card_checks.dlc_consistent(after)
    if consistent:
        problems.append(consistent)
    return problems
