#!/usr/bin/env bash
# Builds everything and runs every test (ctest). Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/build.sh"

# Cyrillic captions need a font that has them; without one Qt draws boxes and says nothing.
fc-list :lang=ru family | grep -q . || { echo "test: no font with Cyrillic letters (fonts-dejavu-core)"; exit 1; }

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

ctest --test-dir "$build" --output-on-failure -j2 "$@"
