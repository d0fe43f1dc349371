"""-format of every module of the default card without media erase and with
an over-provisioning of 40 percent, asked nothing: every request failed in
turn (module_op_checks.py says what must then hold)."""
from fault_sweep import STARTUP_ONLY
from module_op_checks import check  # noqa: F401

ARGS = ["-c", "1", "-format", "-op", "-percent", "40", "-s"]
CARD = "default.txt"
STARTUP_ARGS = STARTUP_ONLY
