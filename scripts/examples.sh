#!/usr/bin/env bash
# The documents' examples of eudclink, which cannot drift from what it does: one session
# (tests/e2e/examples-session.sh) runs them under Wine, in a prefix of its own under the
# build folder, and every block marked "<!-- example: NAME -->" in README.md,
# README.zh-TW.md and docs/*.md must be what it printed.
#   scripts/examples.sh [--write] [BUILD [BASE]]
# Without --write, shows how each differing block differs and exits with 1; with it,
# writes the session's output into the blocks. BUILD is the build whose eudclink.exe runs
# (build/win64), BASE the base Wine prefix that the session's prefixes copy (BUILD's own
# wine-base).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=check
[ "${1:-}" != --write ] || { mode=write; shift; }
build=$(realpath "${1:-$root/build/win64}")
base=$(realpath -m "${2:-$build/wine-base}")
[ -f "$build/eudclink.exe" ] || { echo "no $build/eudclink.exe: build it first (see docs/testing.md)"; exit 1; }
made=$build/examples
rm -rf "$made"
mkdir -p "$made"
"$root/tests/e2e/wine-prefix.sh" base "$base" >/dev/null || exit 1
"$root/tests/e2e/wine-prefix.sh" run "$base" "$build/prefixes/examples" none 240 \
    "$root/tests/e2e/examples-session.sh" "$build/eudclink.exe" "$base" "$made" || exit 1
documents=()
for document in "$root"/README.md "$root"/README.zh-TW.md "$root"/docs/*.md; do
    [ ! -f "$document" ] || documents+=("$document")
done
/usr/bin/python3 "$root/scripts/examples.py" "$mode" "$made" "${documents[@]}"
