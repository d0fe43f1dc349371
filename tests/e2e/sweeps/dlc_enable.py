"""-dlc -enable on the default card, asked nothing: every request failed in
turn (module_op_checks.py says what must then hold)."""
from fault_sweep import STARTUP_ONLY
from module_op_checks import check  # noqa: F401

ARGS = ["-c", "1", "-dlc", "-enable", "-s"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
