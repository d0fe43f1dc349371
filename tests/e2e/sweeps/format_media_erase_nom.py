"""-format of every module of the default card with the extended media erase
and the nominal over-provisioning, asked nothing: every request failed in
turn (module_op_checks.py says what must then hold)."""
from fault_sweep import STARTUP_ONLY
from module_op_checks import check  # noqa: F401

ARGS = ["-c", "1", "-format", "-op", "-level", "nom", "-eraseflash", "-s"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
