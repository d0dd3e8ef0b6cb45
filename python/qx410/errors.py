"""Exceptions raised by the qx410 module, one class per kind of server error."""

from __future__ import annotations

from typing import Any


class Error(Exception):
    """Every error this module raises.

    Attributes:
        message: the text the desktop program would show for it.
        code: the JSON-RPC error code, or None for an error of the client itself.
        kind: the server's ``data.kind`` (``"busy"``, ``"range"``, …) or None.
    """

    def __init__(self, message: str, code: int | None = None, kind: str | None = None) -> None:
        super().__init__(message)
        self.message = message
        self.code = code
        self.kind = kind


class Busy(Error):
    """Another operation (a move, a run, the desktop program) holds the controller."""


class OutOfRange(Error):
    """A position the controller cannot carry, or a velocity outside 0 to 6550."""


class Refused(Error):
    """The dialogs' rules refused a setting, or a download refused its command file."""


class Timeout(Error):
    """A move did not end within the server's time limit; it was interrupted."""


class ControllerError(Error):
    """The controller did not answer, or answered with something no controller sends."""


class FileError(Error):
    """A command file cannot be read or written."""


class OutsideTravelLimits(Error):
    """A target outside the travel limits (a move, a run's line, a download); nothing of it was sent.

    Also a relative program run while travel limits are set, not confirmed.
    """


class LimitError(Error):
    """The server's limits (line length, number of clients) were passed."""


class ProtocolError(Error):
    """The server did not understand a request (a JSON-RPC protocol error)."""


class ConnectionLost(Error):
    """The connection to the server ended before the reply came."""


class ServerError(Error):
    """The local server could not be found or started."""


_BY_KIND: dict[str, type[Error]] = {
    "busy": Busy,
    "range": OutOfRange,
    "refused": Refused,
    "timeout": Timeout,
    "controller": ControllerError,
    "file": FileError,
    "limit": LimitError,
    "travel": OutsideTravelLimits,
}


def from_reply(error: dict[str, Any]) -> Error:
    """Builds the exception for a JSON-RPC ``error`` object of the server."""
    data = error.get("data")
    kind = data.get("kind") if isinstance(data, dict) else None
    cls = _BY_KIND.get(kind, ProtocolError) if isinstance(kind, str) else ProtocolError
    return cls(str(error.get("message", "")), error.get("code"), kind)
