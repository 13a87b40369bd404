#!/usr/bin/env bash
# Runs a Winelib program in the checkout's test prefix (used by CTest).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${WINEPREFIX:-}" ]; then
  source "$ROOT/tools/env/setup.sh"
  wine_env test
fi
exec /usr/lib/wine/wine64 "$@"
