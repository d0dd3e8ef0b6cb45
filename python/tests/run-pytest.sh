#!/bin/sh
# Runs the Python module's tests with the first Python that has pytest;
# exits 77 (a skipped test for CTest) when none has it.
cd "$(dirname "$0")/.." || exit 1
for python in python3 /usr/bin/python3; do
  if "$python" -c 'import pytest' 2>/dev/null; then
    exec "$python" -m pytest -q -p no:cacheprovider tests "$@"
  fi
done
echo "pytest is missing (Debian: python3-pytest); the Python module's tests are skipped"
exit 77
