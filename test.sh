#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
# The command-file fuzz target needs clang and libFuzzer, so it is a build of
# its own; ctest then runs it for a few seconds (CommandFileFuzzer.ShortRun).
fuzzer=""
if command -v clang++ >/dev/null 2>&1; then
  cmake -S tests/hostprog/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/fuzz
  fuzzer=$PWD/build/fuzz/qx410-commandfile-fuzz
fi
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQX410_SANITIZE=ON -DQX410_WERROR=ON \
  -DQX410_FUZZER="$fuzzer" >/dev/null
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build/test && ctest --output-on-failure -j2 "$@"
