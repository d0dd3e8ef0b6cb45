"""Finding, starting and ending the local server (``qx410ctl serve``) of a device."""

from __future__ import annotations

import atexit
import json
import os
import shutil
import signal
import subprocess
import threading
from typing import IO

from .connection import Connection
from .errors import ServerError

# Servers this process started, by socket path, with the number of this
# process's open controllers on each.
_started: dict[str, "_Started"] = {}
_registry_lock = threading.Lock()
_START_SECONDS = 15.0


class _Started:
    """A server this process started, and how many of its controllers use it."""

    def __init__(self, process: subprocess.Popen[bytes], socket: str) -> None:
        self.process = process
        self.socket = socket
        self.users = 1


def find_qx410ctl(explicit: str | None) -> str | None:
    """The ``qx410ctl`` to use: the one given, ``$QX410CTL``, the one on PATH, else a build's.

    A module imported from the source tree falls back to ``build/bin`` or
    ``build/test/bin`` beside it.
    """
    found = explicit or os.environ.get("QX410CTL") or shutil.which("qx410ctl")
    if found:
        return found
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
    for folder in (("build", "bin"), ("build", "test", "bin")):
        candidate = os.path.normpath(os.path.join(top, *folder, "qx410ctl"))
        if os.access(candidate, os.X_OK):
            return candidate
    return None


def _drain(stream: IO[bytes] | None) -> None:
    """Reads and drops the server's later output, so that a full pipe never blocks it."""
    if stream is None:
        return
    try:
        while stream.read(65536):
            pass
    except (OSError, ValueError):
        pass


def _start(device: str, qx410ctl: str) -> tuple[subprocess.Popen[bytes], str]:
    """Starts ``qx410ctl --port DEVICE --json serve``; returns it and its socket path."""
    try:
        process = subprocess.Popen([qx410ctl, "--port", device, "--json", "serve"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
    except OSError as e:
        raise ServerError(f"{qx410ctl} cannot be started: {e}") from e
    # A server that neither prints its socket nor ends within the limit is ended.
    watchdog = threading.Timer(_START_SECONDS, process.kill)
    watchdog.daemon = True
    watchdog.start()
    try:
        line = process.stdout.readline() if process.stdout else b""
    finally:
        watchdog.cancel()
    path = None
    try:
        answer = json.loads(line)
        if isinstance(answer, dict) and isinstance(answer.get("socket"), str):
            path = answer["socket"]
    except ValueError:
        pass
    if path is None:
        process.kill()
        _, err = process.communicate()
        text = err.decode("utf-8", "replace").strip() or f"{qx410ctl} serve printed no socket"
        raise ServerError(text)
    for stream in (process.stdout, process.stderr):
        threading.Thread(target=_drain, args=(stream,), daemon=True).start()
    return process, path


def _end(process: subprocess.Popen[bytes]) -> None:
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def open_connection(device: str, path: str, qx410ctl: str | None,
                    start: bool) -> tuple[Connection, _Started | None]:
    """Connects to the server of ``device`` on ``path``, starting one when none answers.

    Returns the connection and, when this process started (or shares) the
    server, the server to pass to :func:`release` once the connection is closed.
    """
    with _registry_lock:
        started = _started.get(path)
        if started is not None and started.process.poll() is None:
            try:
                connection = Connection(started.socket)
                started.users += 1
                return connection, started
            except OSError:
                pass  # it is ending: another server is started below
        _started.pop(path, None)
        try:
            return Connection(path), None
        except OSError:
            pass
        if not start:
            raise ServerError(f"no server answers for {device} on {path}")
        if not qx410ctl:
            raise ServerError("qx410ctl was not found: put it on PATH, set QX410CTL or pass qx410ctl=")
        try:
            process, served = _start(device, qx410ctl)
        except ServerError:
            # Another program may have started a server in the meantime.
            try:
                return Connection(path), None
            except OSError:
                pass
            raise
        try:
            connection = Connection(served)
        except OSError as e:
            _end(process)
            raise ServerError(f"the server started for {device} cannot be reached on {served}: {e}") from e
        started = _Started(process, served)
        _started[path] = started
        return connection, started


def release(started: _Started) -> None:
    """One controller on a server this process started has closed; the last one ends it.

    The server is named by its record, not its socket path, so that a
    controller of a server that died never counts against its successor.
    """
    with _registry_lock:
        started.users -= 1
        if started.users > 0:
            return
        for path, entry in list(_started.items()):
            if entry is started:
                del _started[path]
    _end(started.process)


@atexit.register
def _end_all() -> None:
    with _registry_lock:
        processes = [s.process for s in _started.values()]
        _started.clear()
    for process in processes:
        _end(process)
