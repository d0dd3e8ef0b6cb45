"""Fixtures: a simulated controller on a pseudo-terminal and the built programs."""

from __future__ import annotations

import os
import shutil
import subprocess
import sys
from collections.abc import Iterator

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), os.pardir))

SIM = os.environ.get("QX410_SIM") or shutil.which("qx410-sim")
CTL = os.environ.get("QX410CTL") or shutil.which("qx410ctl")


@pytest.fixture(autouse=True)
def runtime_folder(tmp_path_factory: pytest.TempPathFactory, monkeypatch: pytest.MonkeyPatch) -> None:
    """Every test's servers listen in a socket folder of their own."""
    folder = tmp_path_factory.mktemp("run")
    folder.chmod(0o700)
    monkeypatch.setenv("XDG_RUNTIME_DIR", str(folder))
    if CTL:
        monkeypatch.setenv("QX410CTL", CTL)
    # The server sanitizer builds must not report the leaks Qt leaves at exit.
    monkeypatch.setenv("ASAN_OPTIONS", "detect_leaks=0")


@pytest.fixture
def device() -> Iterator[str]:
    """A simulated controller, 50 times faster than the real one; yields its device path."""
    if not SIM or not CTL:
        pytest.skip("qx410-sim and qx410ctl are needed (QX410_SIM, QX410CTL)")
    sim = subprocess.Popen([SIM, "--time-scale", "50"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           env={**os.environ, "ASAN_OPTIONS": "detect_leaks=0"})
    assert sim.stdout is not None
    path = sim.stdout.readline().decode().strip()
    try:
        yield path
    finally:
        sim.terminate()
        sim.wait(timeout=10)
