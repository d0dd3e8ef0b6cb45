#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it: the files it
# holds, its control data, the desktop entry, the icons, the programs'
# --version, the licence, the hardening of the programs (hardening-check, no
# .comment sections), the AppStream description (appstreamcli validate), and
# lintian (no errors). Run by hand on Debian 12, as root or with
# sudo; ./test.sh does not run it. Prints the package's name and size last.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh lintian desktop-file-utils file devscripts appstream binutils

deb=$(./scripts/package.sh | tail -n 1)
version=$(sed -n 's/^project(Qx410 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# Control data.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = qx410 ] && pass "Package: qx410" || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] && pass "Version: $version (the project's)" || fail "Version is '$(field Version)', the project's is $version"
depends=$(field Depends)
for lib in libqt6widgets6 libqt6serialport6 libqt6core6 libc6 qt6-qpa-plugins python3; do
  grep -q "$lib" <<<"$depends" && pass "Depends names $lib" || fail "Depends lacks $lib: $depends"
done

# Contents.
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||')
expected=(
  usr/bin/qx410 usr/bin/qx410ctl usr/bin/qx410-sim
  usr/share/applications/qx410.desktop
  usr/share/icons/hicolor/scalable/apps/qx410.svg
  usr/share/man/man1/qx410.1.gz usr/share/man/man1/qx410ctl.1.gz usr/share/man/man1/qx410-sim.1.gz
  usr/share/qx410/user-guide.md usr/share/qx410/main-window.png
  usr/share/metainfo/org.example.qx410.metainfo.xml
  usr/share/qx410/protocol.md usr/lib/python3/dist-packages/qx410/__init__.py
  usr/share/doc/qx410/copyright usr/share/doc/qx410/changelog.gz usr/share/doc/qx410/user-guide.md
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/qx410.png")
done
for path in "${expected[@]}"; do
  grep -qx "$path" <<<"$contents" && pass "holds /$path" || fail "lacks /$path"
done

# The unpacked package: desktop entry, icons, programs.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/qx410.desktop
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; then
  pass "desktop-file-validate: clean"
else
  fail "desktop-file-validate: $out"
fi
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$root/usr/bin/$exec_name" ] && pass "Exec=$exec_name is /usr/bin/$exec_name" || fail "Exec=$exec_name is not in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] && pass "Icon=$icon is in the hicolor theme" || fail "Icon=$icon not found"
for size in "${sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/qx410.png
  file -b "$png" | grep -q "PNG image data, $size x $size," && pass "icon ${size}x${size} is $size x $size" \
    || fail "icon ${size}x${size}: $(file -b "$png")"
done
for program in qx410 qx410ctl qx410-sim; do
  out=$("$root/usr/bin/$program" --version 2>&1 || true)
  [ "$out" = "$program $version" ] && pass "$program --version: $out" || fail "$program --version: $out"
done
# Every picture the guide shows lies beside it.
for picture in $(grep -o '([a-z-]*\.png)' docs/user-guide.md | tr -d '()' | sort -u); do
  [ -f "$root/usr/share/qx410/$picture" ] && pass "guide picture $picture installed" || fail "guide picture $picture missing"
done

# The licence: the machine-readable copyright file names MIT and holds its text.
copyright=$root/usr/share/doc/qx410/copyright
if grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" \
  && grep -q '^License: MIT$' "$copyright" && grep -q 'Permission is hereby granted' "$copyright"; then
  pass "copyright: machine-readable, License: MIT"
else
  fail "copyright does not name the MIT licence in machine-readable form"
fi

# Hardening: every program is built with the distribution's flags (PIE, stack
# protector, _FORTIFY_SOURCE, read-only relocations, immediate binding) and
# carries no .comment section.
for program in qx410 qx410ctl qx410-sim; do
  binary=$root/usr/bin/$program
  # Debian 12's build flags carry no control-flow protection (-fcf-protection),
  # and its C library's start files lack the marking, so that check is left out.
  if out=$(hardening-check --nocfprotection "$binary" 2>&1); then
    pass "hardening-check $program"
  else
    fail "hardening-check $program: $out"
  fi
  symbols=$(readelf -W -s "$binary")
  grep -q '__[a-z_]*_chk@' <<<"$symbols" && pass "$program calls the fortified functions" \
    || fail "$program calls no _chk function: not built with _FORTIFY_SOURCE"
  grep -q '__stack_chk_fail@' <<<"$symbols" && pass "$program has the stack protector" \
    || fail "$program lacks __stack_chk_fail: not built with the stack protector"
  grep -q ' \.comment ' <<<"$(readelf -W -S "$binary")" && fail "$program keeps a .comment section" \
    || pass "$program has no .comment section"
done

# Software centres: the AppStream description validates and names what it should.
metainfo=$root/usr/share/metainfo/org.example.qx410.metainfo.xml
if out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1); then
  pass "appstreamcli validate: clean"
else
  fail "appstreamcli validate: $out"
fi
for needle in '<project_license>MIT</project_license>' '<icon type="stock">qx410</icon>' '<summary>' \
  'main-window.png</image>' "<release version=\"$version\"" '<launchable type="desktop-id">qx410.desktop'; do
  grep -qF "$needle" "$metainfo" && pass "metainfo holds $needle" || fail "metainfo lacks $needle"
done

zcat "$root/usr/share/man/man1/qx410ctl.1.gz" | grep -q -- 'position' && pass "qx410ctl(1) lists the commands" \
  || fail "qx410ctl(1) lacks the commands"

# Lintian: errors fail the check; every tag is shown.
echo "lintian:"
if lintian --fail-on error --display-info "$deb"; then
  pass "lintian: no errors"
else
  fail "lintian reports errors"
fi

echo
if [ "$failures" -gt 0 ]; then
  echo "check-package: $failures check(s) failed"
  exit 1
fi
echo "check-package: all checks passed"
echo "package: $(basename "$deb")  size: $(stat -c %s "$deb") bytes ($(du -h "$deb" | cut -f1)), installed size $(field Installed-Size) KiB"
