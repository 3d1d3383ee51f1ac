#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent and quiet when
# everything is already there; run as root (or with sudo available).
set -euo pipefail

packages=(
  # build
  g++ clang cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev libxkbcommon-dev
  libcurl4-openssl-dev libzip-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # window tests and screenshots
  xvfb xauth fonts-dejavu-core libgl1-mesa-dri
  # fuzzing runtime for clang
  libclang-rt-14-dev
  # wordstrip's office (UNO SDK for the build, the office for its end-to-end tests) and its benchmark
  libreoffice-writer-nogui libreoffice-dev hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
