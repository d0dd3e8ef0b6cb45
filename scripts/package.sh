#!/usr/bin/env bash
# Builds the Debian package of the programs: a Release build for /usr with the
# distribution's hardening flags, the manual pages, and the dependencies
# computed by dpkg-shlibdeps; the programs' .comment sections are stripped.
# Leaves qx410_VERSION_ARCH.deb in the project folder and prints its path on
# the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
# With the packaging tools: dpkg-shlibdeps (dpkg-dev), help2man, and file,
# which CPack uses to find the programs whose libraries it looks up.
./scripts/install-deps.sh dpkg-dev help2man file >&2

# A fresh build folder: CMake reads the compiler and linker flags from the
# environment only when it first configures. The programs are built with every
# hardening flag the distribution gives: the stack protector, _FORTIFY_SOURCE
# (a preprocessor flag, which CMake takes only through CXXFLAGS), format checks,
# control-flow protection, read-only relocations and immediate binding. The
# project's Release flags follow them on the command line.
build=build/package
rm -rf "$build"
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
CXXFLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)"
LDFLAGS=$(flags LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX410_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DQX410_MAN_PAGES=ON >&2
cmake --build "$build" >&2
(cd "$build" && cpack -G DEB >&2)

rm -f qx410_*.deb
deb=$(find "$build" -maxdepth 1 -name 'qx410_*.deb' -print -quit)
[ -n "$deb" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
cp "$deb" .
echo "$PWD/$(basename "$deb")"
