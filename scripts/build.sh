#!/usr/bin/env bash
# Configures and builds everything into build/ (or $FOLIO_BUILD_DIR). Extra arguments go to
# the CMake configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build"
