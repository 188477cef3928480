#!/usr/bin/env bash
# The install rules: `cmake --install` into a fresh prefix puts the executable under bin/ and its desktop entry
# under share/applications/, and desktop-file-validate accepts the entry. Without desktop-file-validate (from
# desktop-file-utils) the entry is not validated and the test reports itself skipped.
# Usage: desktop_entry.sh BUILD_DIR [CMAKE]
set -euo pipefail
build=${1:?usage: desktop_entry.sh BUILD_DIR [CMAKE]}
cmake=${2:-cmake}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/tarnwick" ] || fail "no executable bin/tarnwick under the prefix"
entry="$prefix/share/applications/tarnwick.desktop"
[ -f "$entry" ] || fail "no desktop entry share/applications/tarnwick.desktop under the prefix"
grep -qx 'Name=Tarnwick' "$entry" || fail "the desktop entry is not named Tarnwick"
grep -qx 'Exec=tarnwick' "$entry" || fail "the desktop entry does not start tarnwick"

if ! command -v desktop-file-validate >/dev/null; then
    echo "desktop-file-validate is missing (desktop-file-utils): the entry is not validated"
    exit 77
fi
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
echo "installed bin/tarnwick and a desktop entry that desktop-file-validate accepts"
