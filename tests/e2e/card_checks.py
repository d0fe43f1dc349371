"""What a card file says about the card's volume and modules, for the
checkers of the fault sweeps: which slots the volumes hold, each module's
media erase mode and DLC state (from its configuration image, or a new
module's when the file holds none), and manufacturing page 10's DLC bits.
Offsets are those of the module configuration image and of page 10."""
from fault_sweep import module_keys, page_bytes, sections

ERASE_MODE = 1698        # configuration image: media erase mode byte
DLC_STATE_A = 2624       # configuration image: 2 = DLC enabled
DLC_ENABLED = 2
NEW_ERASE_MODE = 1       # a new module's: standard erase
PAGE10_FLAGS = 24        # manufacturing page 10: u32 board flags
FLAG_DLC_ENABLED = 0x40
MAIN_ID, SUB_ID = 1544, 1548   # configuration image: u32 main and sub customer IDs
NEW_MODULE_IDS = (148, 2)      # those of a module whose image the host never wrote
IDS_NOT_RESTORED = ("Failed to restore original main and sub customer ID.",
                    "Failed to restore Main and Sub Customer Id.")


def customer_ids(card, slot):
    """(main, sub) customer IDs of the module in the slot."""
    image = module_keys(card, slot).get("config-image")
    if not image:
        return NEW_MODULE_IDS
    data = bytes.fromhex(image)
    return (int.from_bytes(data[MAIN_ID:MAIN_ID + 4], "little"),
            int.from_bytes(data[SUB_ID:SUB_ID + 4], "little"))


def modules(card):
    """{slot: {key: value, ..., "image": bytes or None}} of the card's modules."""
    out = {}
    for header, keys in sections(card):
        words = header.split()
        if words[0] != "module":
            continue
        module = {}
        image = []
        for key, value in keys:
            if key == "config-image":
                image.append(value)
            else:
                module[key] = value
        module["image"] = bytes.fromhex("".join(image)) if image else None
        out[int(words[1], 0)] = module
    return out


def present(card):
    """The slots whose module is on the card."""
    return sorted(s for s, m in modules(card).items() if m.get("state", "present") == "present")


def erase_modes(card):
    """{slot: media erase mode byte}."""
    return {s: (m["image"][ERASE_MODE] if m["image"] else NEW_ERASE_MODE) for s, m in modules(card).items()}


def dlc_states(card):
    """{slot: True when the module's configuration image says DLC enabled}."""
    return {s: bool(m["image"]) and m["image"][DLC_STATE_A] == DLC_ENABLED for s, m in modules(card).items()}


def volumes(card):
    """[sorted slots of each volume's members], in the card file's order."""
    disks = {}
    members = []
    for header, keys in sections(card):
        words = header.split()
        if words[0] == "disk":
            disks[int(words[1], 0)] = int(dict(keys).get("slot", "-1"), 0)
        elif words[0] == "volume":
            members.append([int(v.split()[0], 0) for k, v in keys if k == "member"])
    return [sorted(disks.get(d, -1) for d in volume) for volume in members]


def page10_dlc_enabled(card, copy="nvram"):
    """Manufacturing page 10's DLC enabled bit in one copy (the generated
    page's board flags when the file lists no page 10)."""
    page = page_bytes(card, "page 9 10", copy)
    if page is not None:
        flags = int.from_bytes(page[PAGE10_FLAGS:PAGE10_FLAGS + 4], "little")
    else:
        adapter = next(dict(keys) for header, keys in sections(card) if header.startswith("adapter"))
        flags = int(adapter.get("board-flags", "0"), 0)
    return bool(flags & FLAG_DLC_ENABLED)


def dlc_consistent(card):
    """Empty when page 10's DLC bit (persistent copy) says what every
    module's image says; else the problem."""
    states = set(dlc_states(card).values())
    if len(states) > 1:
        return "the modules are left with DLC states that differ"
    bit = page10_dlc_enabled(card)
    if states and bit != states.pop():
        return f"manufacturing page 10 says DLC {'enabled' if bit else 'disabled'}, the modules do not"
    return ""
