#!/usr/bin/env bash
# Builds folioset and starts it on the assembled program folder (build/program).
# Without a display it runs under a virtual one (Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FOLIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/build.sh"

program="$build/program/folioset"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d)"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
echo "Starting $program"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
exec "$program" "$@"
