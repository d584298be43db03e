#!/usr/bin/env bash
# Runs the browser-hosting test program ($1) in a Wine prefix of its own, beside the session's:
# the program registers its stand-in browser control there, which no other test may meet. The
# prefix is made on first use (as scripts/setup makes the session's) and its server is ended
# afterwards; the test uses the session's display.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export TOVRIX_WINEPREFIX=${WINEPREFIX:-${TOVRIX_CACHE:-$HOME/.cache/tovrix}/wineprefix}-browser
source "$root/scripts/setup"
make_prefix
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 || true
TOVRIX_BROWSER_PREFIX=1 wine "$1"
