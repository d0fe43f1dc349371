"""-paniclog -f erase on the default card: each module's extractable panic
slots (3 and 0) are erased, the one whose check failed (1) is kept. After
every failed request: no card found at start-up and nothing touched; or the
whole command (exit 0, the first run's output and card); or a non-zero exit
where every slot that is erased was reported, each "Successfully erased"
line stands for a slot that is erased, and nothing but the extractable
slots changed. A module may have erased a slot whose erase then failed on
the way back (the read after the erase command): such a slot is reported
as failed, and may be either way. The program's start-up requests are not
failed here; a failed request of the command's own reading of the card
may leave a module out of what it sees: such a module is
skipped and not reported, and the command succeeds for the others (when a
failed page read leaves a module without its cage or location name, the
erases are counted over the card)."""
import re

from fault_sweep import NO_CARD, STARTUP_ONLY, sections, success_line_problems

ARGS = ["-c", "1", "-paniclog", "-f", "erase"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
MODULES = {4: "Cage = 01 Location = Upper", 5: "Cage = 01 Location = Lower",
           6: "Cage = 02 Location = Upper", 7: "Cage = 02 Location = Lower"}
EXTRACTABLE = {0, 3}
ERASED = "0 0 0"


def panic_slots(card):
    """{module slot: {panic slot: "VALID CRC SIZE"}} as the card file lists
    them (only those that differ from a new module's)."""
    out = {slot: {} for slot in MODULES}
    for header, keys in sections(card):
        words = header.split()
        if len(words) != 2 or words[0] != "module" or int(words[1]) not in MODULES:
            continue
        for key, value in keys:
            if key == "panic-slot":
                number, _, rest = value.partition(" ")
                out[int(words[1])][int(number)] = rest
    return out


def accounting(stdout, where, changed):
    """Problems of the erase lines naming `where` (any, when empty) against
    the slots changed."""
    problems = []
    for module, values in changed.items():
        for number, value in values.items():
            if number not in EXTRACTABLE or value != ERASED:
                problems.append(f"module {module}: panic slot {number} became {value}")
    erased = sum(1 for values in changed.values() for value in values.values() if value == ERASED)
    done = stdout.count(f"Successfully erased panic for {where}")
    failed = stdout.count(f"Failed erasing panic for {where}")
    if erased < done:
        problems.append(f"{where}: {done} erases reported, {erased} done")
    if erased > done + failed:
        problems.append(f"{where}: {erased} slots erased, {done} reported")
    return problems


def check(run):
    if run.exit == 0 and NO_CARD in run.stdout:
        return [] if run.card == run.card_before else ["the card changed"]
    problems = []
    slots = panic_slots(run.card)
    named = set(re.findall(r"Cage = \d\d Location = \w+", run.stdout))
    if not named <= set(MODULES.values()):
        problems += accounting(run.stdout, "", slots)
    else:
        for module, where in MODULES.items():
            problems += accounting(run.stdout, where, {module: slots[module]})
    failed = "Failed erasing panic for " in run.stdout
    if run.exit == 0 and failed:
        problems.append("exit 0 after a failed erase")
    if run.exit != 0:
        problems += success_line_problems(run)
    return problems
