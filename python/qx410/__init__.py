"""Drive a QX-410 micromanipulator controller from Python through its local server.

>>> import qx410
>>> with qx410.connect("COM1") as stage:
...     stage.move_to(100.5, -20, 0)
Position(x=100.52, y=-20.0, z=0.0)
"""

from .controller import STEP_UM, AxisLimits, Controller, Position, RunResult, connect
from .errors import (Busy, ConnectionLost, ControllerError, Error, FileError, LimitError, OutOfRange,
                     OutsideTravelLimits, ProtocolError, Refused, ServerError, Timeout)

__all__ = [
    "STEP_UM", "AxisLimits", "Controller", "Position", "RunResult", "connect",
    "Error", "Busy", "OutOfRange", "Refused", "Timeout", "ControllerError", "FileError",
    "OutsideTravelLimits", "LimitError", "ProtocolError", "ConnectionLost", "ServerError",
]
