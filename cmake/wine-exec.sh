#!/usr/bin/env bash
# Runs a Winelib program in the checkout's test prefix (used by CTest).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${WINEPREFIX:-}" ]; then
  source "$ROOT/tools/env/setup.sh"
  wine_env test
fi
/usr/lib/wine/wine64 "$@"
status=$?
# A program that dies before it writes anything leaves at least this behind.
[ $status -eq 0 ] || echo "wine-exec: $(basename "$1") ended with status $status" >&2
exit $status
