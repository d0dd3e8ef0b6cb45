#!/bin/sh
# help-for-man.sh PROGRAM ARGUMENT...
# Runs PROGRAM for help2man. For --help, the continuation lines of a usage
# that spans several lines ("Usage: prog [A] [B]" then "           [C] ...")
# are joined to its first line, so that the whole usage becomes the manual
# page's synopsis instead of spilling into its description.
program=$1
shift
if [ "${1-}" = --help ]; then
  "$program" --help | awk '
    NR == 1 && /^Usage:/ { usage = $0; joining = 1; next }
    joining && /^ +\[/ { sub(/^ +/, " "); usage = usage $0; next }
    joining { print usage; joining = 0 }
    { print }
    END { if (joining) print usage }'
else
  exec "$program" "$@"
fi
