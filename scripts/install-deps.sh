#!/usr/bin/env bash
# Installs the Debian packages the build, the tests (the fuzz targets need clang and its
# libFuzzer runtime) and `make run` need.
# Idempotent: prints nothing and touches nothing when every package is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsqlite3-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev
  zlib1g-dev libbrotli-dev libssl-dev
  pocketsphinx-en-us wamerican
  clang-14 libclang-rt-14-dev
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(bible-kjv espeak-ng clang-14 libclang-rt-14-dev)
  # make bench: /usr/bin/time -v gives the peak memory, and bench/run.py drives the runs.
  packages+=(time python3)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
((${#missing[@]})) || exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
