"""A JSON-RPC connection to the local server, shared safely between threads."""

from __future__ import annotations

import collections
import json
import socket
import threading
from typing import Any

from .errors import ConnectionLost, from_reply

# Events kept for a caller who has not read them yet; older ones are dropped.
_EVENT_BACKLOG = 10000


class _Pending:
    """One request waiting for its reply."""

    __slots__ = ("done", "reply")

    def __init__(self) -> None:
        self.done = threading.Event()
        self.reply: dict[str, Any] | None = None


class Connection:
    """One socket to the server with a reader thread.

    Requests may be sent from any thread at any time: the reader routes each
    reply to its request by id, so a ``stop`` goes out at once while another
    thread waits for its move. Events are queued for :meth:`next_event`.
    """

    def __init__(self, path: str) -> None:
        """Connects to the socket at ``path`` (raises OSError when nothing answers there)."""
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        try:
            self._sock.connect(path)
        except OSError:
            self._sock.close()
            raise
        self._send_lock = threading.Lock()
        self._lock = threading.Lock()
        self._events_ready = threading.Condition(self._lock)
        self._pending: dict[int, _Pending] = {}
        self._events: collections.deque[dict[str, Any]] = collections.deque(maxlen=_EVENT_BACKLOG)
        self._next_id = 0
        self._closed_reason: str | None = None
        self._reader = threading.Thread(target=self._read_loop, name="qx410-reader", daemon=True)
        self._reader.start()

    def call(self, method: str, params: dict[str, Any] | None = None) -> dict[str, Any]:
        """Sends a request and waits for its result; raises the server's error."""
        pending = _Pending()
        with self._lock:
            if self._closed_reason is not None:
                raise ConnectionLost(self._closed_reason)
            self._next_id += 1
            request_id = self._next_id
            self._pending[request_id] = pending
        message: dict[str, Any] = {"jsonrpc": "2.0", "id": request_id, "method": method}
        if params:
            message["params"] = params
        line = (json.dumps(message, allow_nan=False) + "\n").encode("utf-8")
        try:
            with self._send_lock:
                self._sock.sendall(line)
        except OSError as e:
            with self._lock:
                self._pending.pop(request_id, None)
            raise ConnectionLost(f"the server cannot be reached: {e}") from e
        pending.done.wait()
        reply = pending.reply
        if reply is None:
            raise ConnectionLost(self._closed_reason or "the connection to the server ended")
        if "error" in reply:
            error = reply["error"]
            raise from_reply(error if isinstance(error, dict) else {"message": str(error)})
        result = reply.get("result")
        return result if isinstance(result, dict) else {}

    def next_event(self, timeout: float | None) -> dict[str, Any] | None:
        """The oldest queued event, waiting up to ``timeout`` seconds; None when none came."""
        with self._lock:
            if not self._events and self._closed_reason is None:
                self._events_ready.wait_for(lambda: self._events or self._closed_reason is not None,
                                            timeout)
            return self._events.popleft() if self._events else None

    @property
    def closed(self) -> bool:
        """Whether the connection has ended."""
        with self._lock:
            return self._closed_reason is not None

    def close(self) -> None:
        """Ends the connection; requests still waiting get :class:`ConnectionLost`."""
        try:
            self._sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        if self._reader is not threading.current_thread():
            self._reader.join(timeout=5)
        self._sock.close()

    def _read_loop(self) -> None:
        reason = "the connection to the server ended"
        buffer = b""
        try:
            while True:
                chunk = self._sock.recv(65536)
                if not chunk:
                    break
                buffer += chunk
                while b"\n" in buffer:
                    line, buffer = buffer.split(b"\n", 1)
                    self._dispatch(line)
        except OSError as e:
            reason = f"the connection to the server ended: {e}"
        with self._lock:
            self._closed_reason = reason
            pending, self._pending = self._pending, {}
            self._events_ready.notify_all()
        for p in pending.values():
            p.done.set()

    def _dispatch(self, line: bytes) -> None:
        line = line.strip()
        if not line:
            return
        try:
            message = json.loads(line)
        except ValueError:
            return
        if not isinstance(message, dict):
            return
        if message.get("method") == "event":
            params = message.get("params")
            if isinstance(params, dict):
                with self._lock:
                    self._events.append(params)
                    self._events_ready.notify_all()
            return
        request_id = message.get("id")
        with self._lock:
            pending = self._pending.pop(request_id, None) if isinstance(request_id, int) else None
        if pending is not None:
            pending.reply = message
            pending.done.set()


__all__ = ["Connection"]
