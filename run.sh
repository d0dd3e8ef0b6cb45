#!/usr/bin/env bash
# Builds the programs (Release) and starts the desktop program connected to
# the simulated controller as COM1. Qx410.ini is kept in build/run between runs.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX410_TESTS=OFF >/dev/null
cmake --build build
mkdir -p build/run
cd build/run
cat <<MSG

Starting qx410 on the simulated QX-410 controller (COM1 = $PWD/qx410-port).
The first time, choose Com 1 in Setup Communications. Options given to run.sh
go to the simulator, for example ./run.sh --trace or ./run.sh --time-scale 5.

MSG
exec ../bin/qx410-sim --link "$PWD/qx410-port" "$@" --run ../bin/qx410
