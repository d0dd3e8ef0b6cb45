#!/usr/bin/env python3
"""A 5 x 5 raster with read-back against qx410-sim: qx410ctl per call beside the qx410 module.

Both run against the same simulator at the same time scale, one after the
other. Each move must wait for its travel (the simulator's time, shortened
by the time scale) and for the 100 ms the controller is given to settle
before its position is read; what a move takes beyond those waits is the
caller's overhead.

    bench/raster.py [--bin BUILD/bin] [--time-scale 20] [--pitch 100]
"""

from __future__ import annotations

import argparse
import math
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "python"))
import qx410  # noqa: E402
import qx410.locate  # noqa: E402

SETTLE_MS = 100.0
STEPS_PER_UM = 25


def raster(pitch: int) -> list[tuple[int, int, int]]:
    """25 points around the origin, row by row, in whole µm (what qx410ctl takes)."""
    return [(x * pitch, y * pitch, 0) for y in range(-2, 3) for x in range(-2, 3)]


def mandated_ms(points: list[tuple[int, int, int]], velocity: int, scale: float) -> float:
    """The waits the moves cannot avoid: travel at the simulator's rate, then the settle."""
    total, here = 0.0, (0, 0, 0)
    for p in points:
        longest = max(abs(a - b) for a, b in zip(p, here)) * STEPS_PER_UM
        total += math.ceil(longest * 40 / velocity) / scale + SETTLE_MS
        here = p
    return total


def by_qx410ctl(ctl: str, device: str, points: list[tuple[int, int, int]]) -> float:
    start = time.perf_counter()
    for x, y, z in points:
        base = [ctl, "--no-server", "--port", device]
        subprocess.run(base + ["move", "--", str(x), str(y), str(z)], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(base + ["--json", "position"], check=True, stdout=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000


def by_module(stage: qx410.Controller, points: list[tuple[int, int, int]]) -> float:
    start = time.perf_counter()
    for x, y, z in points:
        reached = stage.move_to(x, y, z)
        assert stage.position() == reached == (x, y, z), (reached, (x, y, z))
    return (time.perf_counter() - start) * 1000


def by_bare_socket(path: str, points: list[tuple[int, int, int]]) -> float:
    """The same raster through the thinnest client: one blocking socket, no threads."""
    import json
    import socket
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.connect(path)
    stream = sock.makefile("rwb")
    ids = iter(range(1, 1 << 30))

    def call(method: str, **params: object) -> None:
        stream.write(json.dumps({"jsonrpc": "2.0", "id": next(ids), "method": method,
                                 "params": params}).encode() + b"\n")
        stream.flush()
        assert "result" in json.loads(stream.readline())

    start = time.perf_counter()
    for x, y, z in points:
        call("move", x=x, y=y, z=z)
        call("position")
    elapsed = (time.perf_counter() - start) * 1000
    sock.close()
    return elapsed


def main() -> None:
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default=os.path.join(here, os.pardir, "build", "bin"),
                        help="folder of qx410ctl and qx410-sim (default build/bin)")
    parser.add_argument("--time-scale", type=float, default=20.0)
    parser.add_argument("--pitch", type=int, default=100, help="raster pitch in µm")
    args = parser.parse_args()
    ctl = os.path.join(args.bin, "qx410ctl")
    sim_exe = os.path.join(args.bin, "qx410-sim")
    env = {**os.environ, "ASAN_OPTIONS": "detect_leaks=0"}
    os.environ["ASAN_OPTIONS"] = "detect_leaks=0"
    sim = subprocess.Popen([sim_exe, "--time-scale", str(args.time_scale)], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, env=env)
    assert sim.stdout is not None
    device = sim.stdout.readline().decode().strip()
    try:
        points = raster(args.pitch)
        home = [(0, 0, 0)]
        subprocess.run([ctl, "--no-server", "--port", device, "move", "0", "0", "0"], check=True,
                       stdout=subprocess.DEVNULL)
        ctl_ms = by_qx410ctl(ctl, device, points)
        subprocess.run([ctl, "--no-server", "--port", device, "move", "0", "0", "0"], check=True,
                       stdout=subprocess.DEVNULL)
        started = time.perf_counter()
        with qx410.connect(device, qx410ctl=ctl) as stage:
            connect_ms = (time.perf_counter() - started) * 1000
            velocity = stage.velocity
            by_module(stage, home)
            module_ms = by_module(stage, points)
            by_module(stage, home)
            bare_ms = by_bare_socket(qx410.locate.socket_path(device), points)
            started = time.perf_counter()
            for _ in range(100):
                stage.hello()
            hello_ms = (time.perf_counter() - started) * 10
        waits = mandated_ms(points, velocity, args.time_scale)
    finally:
        sim.terminate()
        sim.wait()
    n = len(points)
    print(f"5 x 5 raster, pitch {args.pitch} um, velocity {velocity} um/s, time scale {args.time_scale:g}, "
          f"move + position read-back per point")
    print(f"{'':32}{'qx410ctl per call':>20}{'qx410 module':>16}{'bare socket':>14}")
    print(f"{'total (ms)':32}{ctl_ms:20.1f}{module_ms:16.1f}{bare_ms:14.1f}")
    print(f"{'per move (ms)':32}{ctl_ms / n:20.2f}{module_ms / n:16.2f}{bare_ms / n:14.2f}")
    print(f"{'mandated waits per move (ms)':32}{waits / n:20.2f}{waits / n:16.2f}{waits / n:14.2f}")
    print(f"{'overhead per move (ms)':32}{(ctl_ms - waits) / n:20.2f}{(module_ms - waits) / n:16.2f}"
          f"{(bare_ms - waits) / n:14.2f}")
    print(f"module: connect with the server started {connect_ms:.1f} ms (once); "
          f"a request with no serial exchange (hello) {hello_ms:.3f} ms")


if __name__ == "__main__":
    main()
