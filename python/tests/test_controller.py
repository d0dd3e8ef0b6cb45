"""The qx410 module against the simulated controller through qx410ctl serve."""

from __future__ import annotations

import os
import subprocess
import threading
import time

import pytest

import qx410
from qx410 import locate


@pytest.mark.parametrize("call, expected", [
    (lambda c: c.move_to(10.5, -20.01, 0.02), (10.52, -20.0, 0.04)),
    (lambda c: c.move_to(-0.02, -0.06, 123.456), (-0.04, -0.08, 123.44)),
    (lambda c: c.move_by(-1.5, 2.25, -0.1), (-1.52, 2.24, -0.12)),
])
def test_moves_round_to_steps_and_return_the_position_reached(device: str, call, expected) -> None:
    with qx410.connect(device) as stage:
        assert call(stage) == expected
        assert stage.position() == expected


@pytest.mark.parametrize("call, error, message", [
    (lambda c: c.move_to(1e12, 0, 0), qx410.OutOfRange, "X = 1e+12 µm lies outside"),
    (lambda c: c.move_to(0, float("nan"), 0), qx410.OutOfRange, "Y = nan µm lies outside"),
    (lambda c: setattr(c, "velocity", 7000), qx410.OutOfRange, "Please enter a whole number between 0 and 6550."),
    (lambda c: (setattr(c, "velocity", 2000), setattr(c, "resolution", "high")), qx410.Refused,
     "Can not set resolution to high!"),
])
def test_errors_come_as_their_kind_with_the_message(device: str, call, error, message) -> None:
    with qx410.connect(device) as stage:
        with pytest.raises(error) as raised:
            call(stage)
        assert isinstance(raised.value, qx410.Error)
        assert message in str(raised.value)
        assert stage.position() == (0, 0, 0)


def test_stop_from_a_second_thread_ends_the_move_where_it_stopped(device: str) -> None:
    with qx410.connect(device) as stage:
        stage.velocity = 100  # 10000 µm take 2 s at time scale 50
        timer = threading.Timer(0.3, stage.stop)
        timer.start()
        started = time.monotonic()
        reached = stage.move_to(10000, 0, 0)
        timer.join()
        assert time.monotonic() - started < 1.5
        assert 0 < reached.x < 10000
        assert stage.position() == reached


def test_events_follow_a_move(device: str) -> None:
    with qx410.connect(device) as stage:
        list(stage.events(timeout=0.1))
        stage.move_to(5, 0, 0)
        names = [e["event"] for e in stage.events(timeout=0.3)]
        assert names == ["busy", "position", "idle"]


def test_two_clients_share_one_server_and_one_operation_at_a_time(device: str) -> None:
    with qx410.connect(device) as first, qx410.connect(device) as second:
        first.velocity = 100
        mover = threading.Thread(target=first.move_to, args=(2000, 0, 0))
        mover.start()
        time.sleep(0.2)
        with pytest.raises(qx410.Busy):
            second.move_to(0, 0, 0)
        second.stop()
        mover.join()
        assert second.position() == first.position()


def _serving(device: str) -> bool:
    return os.path.exists(locate.socket_path(device))


def test_the_module_starts_the_server_and_the_last_controller_ends_it(device: str) -> None:
    first = qx410.connect(device)
    second = qx410.connect(device)
    assert _serving(device)
    first.close()
    assert second.position() == (0, 0, 0)
    second.close()
    assert not _serving(device)


def test_a_server_started_elsewhere_is_used_and_left_running(device: str) -> None:
    serve = subprocess.Popen([os.environ["QX410CTL"], "--port", device, "--json", "serve"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        assert serve.stdout is not None and b"socket" in serve.stdout.readline()
        with qx410.connect(device) as stage:
            stage.move_to(1, 2, 3)
        assert serve.poll() is None and _serving(device)
    finally:
        serve.terminate()
        serve.wait(timeout=10)


def test_a_com_name_maps_as_the_programs_map_it(device: str, monkeypatch: pytest.MonkeyPatch) -> None:
    monkeypatch.setenv("QX410_COM3", device)
    with qx410.connect("COM3") as stage:
        assert stage.device == device


@pytest.mark.parametrize("device, name", [
    ("/nonexistent/ttyUSB0", "nonexistent_ttyUSB0.sock"),
    ("/nonexistent/a_b c", "nonexistent_a%5Fb%20c.sock"),
    ("/nonexistent/" + "x" * 60, "x" * 31 + "-" + "e3b4eb6537c190ec" + ".sock"),
])
def test_socket_names_follow_the_servers_rule(device: str, name: str) -> None:
    assert locate.socket_name(device) == name


def test_a_controller_of_a_dead_server_does_not_end_its_successor(device: str) -> None:
    from qx410 import server
    orphan = qx410.connect(device)
    dead = server._started[locate.socket_path(device)].process
    dead.kill()
    dead.wait()
    with pytest.raises(qx410.ConnectionLost):
        for _ in range(50):
            orphan.position()
            time.sleep(0.02)
    with qx410.connect(device) as stage:
        orphan.close()
        assert stage.move_to(1, 0, 0) == (1, 0, 0)


def test_command_files_and_stored_programs_go_through(device: str, tmp_path) -> None:
    path = tmp_path / "square.dat"
    path.write_bytes(b"Low, 500\r\nMove, 10, 20, 30\r\nMove, 0, 0, 0\r\n")
    with qx410.connect(device) as stage:
        assert stage.run(path) == ((0, 0, 0), False)
        steps = stage.download(path, 2)
        assert steps > 0 and stage.programs()[1] == steps
        assert stage.execute(2) == (0, 0, 0)
        assert stage.upload(2, tmp_path / "back.dat") == steps
        assert (tmp_path / "back.dat").exists()


def test_travel_limits_are_saved_by_the_server_and_refuse_targets_outside(
        device: str, tmp_path, monkeypatch: pytest.MonkeyPatch) -> None:
    monkeypatch.chdir(tmp_path)  # the server it starts keeps its limits file here
    with qx410.connect(device) as stage:
        assert stage.limits()["z"] == (None, None)
        assert stage.set_limits("z", -5000, 12.51)["z"] == (-5000, 12.52)
        with pytest.raises(qx410.OutsideTravelLimits) as raised:
            stage.move_to(0, 0, -6000)
        assert str(raised.value) == "Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent."
        assert stage.position() == (0, 0, 0)
        with pytest.raises(qx410.Refused):
            stage.set_limits("x", 10, -10)
    assert "Z -5000 12.52" in (tmp_path / "Qx410.limits").read_text()
