"""The controller as a Python object, driven through the local server."""

from __future__ import annotations

import math
import os
import threading
from collections.abc import Iterator
from types import TracebackType
from typing import Any, NamedTuple

from . import locate, server
from .connection import Connection
from .errors import ConnectionLost, OutOfRange

# The controller's step: positions go as whole steps of 0.04 µm.
STEP_UM = 0.04
_LIMIT_STEPS = 2**31 - 1


class Position(NamedTuple):
    """A position in micrometres, in whole steps of 0.04 µm."""

    x: float
    y: float
    z: float


class RunResult(NamedTuple):
    """How a command-file run ended: the position reached and whether it was halted."""

    position: Position
    halted: bool


class AxisLimits(NamedTuple):
    """The travel limits of one axis in micrometres; None where there is none."""

    lower: float | None
    upper: float | None


def _limits(result: dict[str, Any]) -> dict[str, AxisLimits]:
    """{"x": AxisLimits, "y": …, "z": …} from the server's ``limits`` object."""
    limits = result.get("limits") or {}

    def value(v: Any) -> float | None:
        return None if v is None else round(float(v), 2)

    return {axis: AxisLimits(value((limits.get(axis) or {}).get("lower")),
                             value((limits.get(axis) or {}).get("upper")))
            for axis in ("x", "y", "z")}


def _position(result: dict[str, Any]) -> Position:
    p = result.get("position") or {}
    # The server gives steps × 0.04; rounding to 0.01 drops the binary fraction noise.
    return Position(*(round(float(p.get(axis, 0.0)), 2) for axis in ("x", "y", "z")))


def _check(axis: str, value: float) -> float:
    """A number the server can be sent; anything not finite is refused as the server refuses it."""
    value = float(value)
    if not math.isfinite(value):
        raise OutOfRange(f"{axis} = {value:g} µm lies outside the range the controller can carry "
                         f"({-(_LIMIT_STEPS + 1) * STEP_UM:.2f} to {_LIMIT_STEPS * STEP_UM:.2f} µm)",
                         2, "range")
    return value


class Controller:
    """One connection to the server that holds a controller's serial port.

    Made by :func:`qx410.connect`. Positions are micrometres as floats; the
    controller moves in steps of 0.04 µm, so a position sent is rounded to
    the nearest step (halves away from zero) and positions come back in
    whole steps. One object may be used from several threads: each call
    waits for its own reply, and :meth:`stop` or :meth:`halt` from a second
    thread reaches the controller while a move waits.
    """

    def __init__(self, connection: Connection, device: str, started: server._Started | None) -> None:
        """Wraps a connection; use :func:`qx410.connect` rather than this."""
        self._connection = connection
        self._started = started
        self._subscribed = False
        self._close_lock = threading.Lock()
        self._closed = False
        self.device = device
        """The serial device the server holds."""

    # Lifetime -----------------------------------------------------------

    def close(self) -> None:
        """Closes the connection; the last controller of a server this process started ends it."""
        with self._close_lock:
            if self._closed:
                return
            self._closed = True
        self._connection.close()
        if self._started is not None:
            server.release(self._started)

    def __enter__(self) -> Controller:
        """The controller itself; leaving the ``with`` block closes it."""
        return self

    def __exit__(self, exc_type: type[BaseException] | None, exc: BaseException | None,
                 tb: TracebackType | None) -> None:
        """Closes the controller."""
        self.close()

    def _call(self, method: str, **params: Any) -> dict[str, Any]:
        if self._closed:
            raise ConnectionLost("the controller was closed")
        return self._connection.call(method, params)

    # Position and moves ---------------------------------------------------

    def hello(self) -> dict[str, Any]:
        """The server's program name, version and protocol version."""
        return self._call("hello")

    def position(self) -> Position:
        """The controller's position (during a move: the last position read)."""
        return _position(self._call("position"))

    def move_to(self, x: float, y: float, z: float) -> Position:
        """Moves to (x, y, z) µm and returns the position reached (where it stopped, if stopped)."""
        return _position(self._call("move", x=_check("X", x), y=_check("Y", y), z=_check("Z", z)))

    def move_by(self, dx: float = 0.0, dy: float = 0.0, dz: float = 0.0) -> Position:
        """Moves by (dx, dy, dz) µm from where the controller stands; returns the position reached."""
        return _position(self._call("move", x=_check("X", dx), y=_check("Y", dy), z=_check("Z", dz),
                                    relative=True))

    def stop(self) -> None:
        """Interrupts a move (its call returns where it stopped); halts a run or program run."""
        self._call("stop")

    def refresh(self) -> None:
        """Refreshes the controller's display, then reads the position."""
        self._call("refresh")

    def status(self) -> list[int]:
        """The controller's status block: 19 numbers."""
        return [int(v) for v in self._call("status").get("status", [])]

    # Settings -------------------------------------------------------------

    @property
    def velocity(self) -> int:
        """The velocity in whole µm/s, 0 to 6550; at most 1310 at high resolution.

        Setting it sends the velocity command at once; a value the Velocity
        dialog refuses raises :class:`qx410.OutOfRange` or :class:`qx410.Refused`.
        """
        return int(self._call("velocity")["velocity"])

    @velocity.setter
    def velocity(self, value: int) -> None:
        self._call("velocity", velocity=value)

    @property
    def resolution(self) -> str:
        """``"high"`` or ``"low"``; high is refused while the velocity is above 1310."""
        return str(self._call("resolution")["resolution"])

    @resolution.setter
    def resolution(self, value: str) -> None:
        self._call("resolution", resolution=value)

    # Travel limits ---------------------------------------------------------

    def limits(self) -> dict[str, AxisLimits]:
        """The travel limits in force: ``{"x": AxisLimits(lower, upper), "y": …, "z": …}`` in µm."""
        return _limits(self._call("limits"))

    def set_limits(self, axis: str, lower: float | None, upper: float | None) -> dict[str, AxisLimits]:
        """Sets the travel limits of axis ``"x"``, ``"y"`` or ``"z"`` (µm, to 0.04 µm; None: no limit).

        In force at once and saved by the program that holds the controller;
        returns all limits then in force. Raises :class:`qx410.Refused` when
        lower lies above upper.
        """
        return _limits(self._call("limits", axis=axis,
                                  lower=None if lower is None else _check(axis.upper(), lower),
                                  upper=None if upper is None else _check(axis.upper(), upper)))

    # Command files and stored programs ------------------------------------

    def run(self, path: str | os.PathLike[str], loop: int = 1, pause: str = "halt") -> RunResult:
        """Runs a command file from this computer.

        Args:
            path: the command file (made absolute for the server).
            loop: passes; 0 runs until halted.
            pause: what a Pause line gets: ``"halt"`` or ``"continue"``.
        """
        result = self._call("run", file=os.path.abspath(path), loop=loop, pause=pause)
        return RunResult(_position(result), bool(result.get("halted", False)))

    def download(self, path: str | os.PathLike[str], program: int) -> int:
        """Stores a command file as program 1 to 10 in the controller; returns its step count."""
        return int(self._call("download", file=os.path.abspath(path), program=program)["steps"])

    def execute(self, program: int, relative: bool = False, confirm: bool = False) -> Position:
        """Runs stored program 1 to 10 (relative to where it stands, if asked); returns the position reached.

        The controller does not know the travel limits: a relative run while
        any is set raises :class:`qx410.OutsideTravelLimits` unless
        ``confirm`` is true.
        """
        params: dict[str, Any] = {"program": program, "relative": relative}
        if relative and confirm:
            params["confirm"] = True
        return _position(self._call("execute", **params))

    def continue_(self) -> None:
        """Lets a program waiting at a pause step go on."""
        self._call("continue")

    def halt(self) -> None:
        """Halts a run or program run (the velocity is set again); else as :meth:`stop`."""
        self._call("halt")

    def upload(self, program: int, path: str | os.PathLike[str]) -> int:
        """Writes stored program 1 to 10 to a command file; returns its step count."""
        return int(self._call("upload", program=program, file=os.path.abspath(path))["steps"])

    def programs(self) -> list[int]:
        """The step counts of the ten stored programs (0: empty)."""
        return [int(v) for v in self._call("programs").get("programs", [])]

    # Events ----------------------------------------------------------------

    def events(self, timeout: float | None = 1.0) -> Iterator[dict[str, Any]]:
        """The server's events, oldest first, as their parameters (``{"event": "position", …}``).

        The first call subscribes this connection; events are kept from then
        on until read. The iterator ends when no event comes within
        ``timeout`` seconds (None: it waits for ever) or the connection ends.
        """
        if not self._subscribed:
            self._call("subscribe", events=True)
            self._subscribed = True
        while True:
            event = self._connection.next_event(timeout)
            if event is None:
                return
            yield event


def connect(port: str = "COM1", *, qx410ctl: str | None = None, start: bool = True) -> Controller:
    """Connects to the controller on ``port`` through its local server.

    Args:
        port: "COM1".."COM4", mapped as the programs map them (``QX410_COMn``,
            ``Qx410.ports``, ``/dev/ttyS0``..), or a device path.
        qx410ctl: the ``qx410ctl`` program to ask and to start; default
            ``$QX410CTL``, else the one on PATH.
        start: start ``qx410ctl serve`` when no server holds the port. The
            last controller of this process on a server it started ends that
            server, and so does the end of the Python process.

    Raises:
        qx410.ServerError: no server answers and none could be started.
    """
    program = server.find_qx410ctl(qx410ctl)
    device = locate.device_for(port, program)
    path = locate.socket_path(device)
    connection, started = server.open_connection(device, path, program, start)
    return Controller(connection, device, started)
