"""Where the server of a serial device listens, and which device a Com name means."""

from __future__ import annotations

import hashlib
import json
import os
import subprocess
import tempfile

_MAX_NAME = 48
_KEEP = frozenset("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-")


def com_number(port: str) -> int:
    """1 to 4 for "COM1".."COM4", else 0 (the name is a device path)."""
    if len(port) == 4 and port.startswith("COM") and port[3] in "1234":
        return int(port[3])
    return 0


def device_for(port: str, qx410ctl: str | None) -> str:
    """The device a port name stands for, mapped as the programs map it.

    A Com name is asked of ``qx410ctl ports --json``, which applies the
    variable ``QX410_COMn``, the ``Qx410.ports`` file and the default in
    that order. Without a usable ``qx410ctl`` the variable and the default
    ``/dev/ttyS(n-1)`` are applied here.
    """
    n = com_number(port)
    if n == 0:
        return port
    if qx410ctl:
        try:
            out = subprocess.run([qx410ctl, "--json", "ports"], capture_output=True, text=True,
                                 timeout=10, check=False).stdout
            for line in out.splitlines():
                try:
                    entry = json.loads(line)
                except ValueError:
                    continue
                if isinstance(entry, dict) and entry.get("com") == port and entry.get("device"):
                    return str(entry["device"])
        except (OSError, subprocess.SubprocessError):
            pass
    return os.environ.get(f"QX410_COM{n}") or f"/dev/ttyS{n - 1}"


def socket_folder() -> str:
    """The folder of the servers' sockets: ``$XDG_RUNTIME_DIR/qx410`` or ``/tmp/qx410-UID``."""
    runtime = os.environ.get("XDG_RUNTIME_DIR", "")
    if runtime:
        return os.path.normpath(os.path.join(runtime, "qx410"))
    return os.path.normpath(os.path.join(tempfile.gettempdir(), f"qx410-{os.getuid()}"))


def socket_name(device: str) -> str:
    """The socket's file name for a device: its canonical path made a file name."""
    path = os.path.realpath(device)
    raw = path.encode("utf-8")
    start = 1 if path.startswith("/") else 0
    parts = []
    for byte in raw[start:]:
        c = chr(byte)
        if c in _KEEP:
            parts.append(c)
        elif c == "/":
            parts.append("_")
        else:
            parts.append(f"%{byte:02X}")
    name = "".join(parts)
    if name.startswith("."):
        name = "_" + name
    if len(name) > _MAX_NAME:
        digest = hashlib.sha256(raw).hexdigest()[:16]
        name = name[-(_MAX_NAME - 17):] + "-" + digest
    return name + ".sock"


def socket_path(device: str) -> str:
    """The path of the socket a server of ``device`` listens on."""
    return os.path.join(socket_folder(), socket_name(device))
