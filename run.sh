#!/usr/bin/env bash
# Builds the programs (Release) and starts the simulated controller, showing
# how to drive it with qx410ctl.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX410_TESTS=OFF >/dev/null
cmake --build build
mkdir -p build/run
link="$PWD/build/run/qx410-port"
cat <<MSG

The simulated QX-410 controller is starting on a pseudo-terminal, linked as
  $link
Drive it from another terminal, for example:
  export QX410_COM1=$link
  build/bin/qx410ctl position
  build/bin/qx410ctl move 1000 -500 250
  build/bin/qx410ctl --help
Press Ctrl-C here to stop the controller.

MSG
exec build/bin/qx410-sim --link "$link" "$@"
