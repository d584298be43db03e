#!/usr/bin/env bash
# Makes the release zip with scripts/package and checks what a Windows user would download.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$("$root/scripts/package" | tail -n 1)
python3 "$root/tests/package/check_package.py" "$root/$zip" "$root/docs/guide.ko.md"
