#!/usr/bin/env bash
# Installs the Debian packages the build, the tests (the fuzz targets need clang and its
# libFuzzer runtime) and `make run` need.
# Idempotent: prints nothing and touches nothing when every package is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsqlite3-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev
  zlib1g-dev libbrotli-dev libzstd-dev libssl-dev
  wamerican wbritish festlex-cmu wamerican-huge espeak-ng
  clang-14 libclang-rt-14-dev
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(bible-kjv espeak-ng clang-14 libclang-rt-14-dev)
  # make bench: /usr/bin/time -v gives the peak memory, and bench/run.py drives the runs.
  packages+=(time python3)
fi

# The pronouncing dictionary comes from npm (Debian has no stressed CMUdict 0.7b): installed into
# tools/zorvian_words/sources/node_modules from its committed package-lock.json.
install_npm_sources() {
  local sources
  sources="$(cd "$(dirname "$0")/.." && pwd)/tools/zorvian_words/sources"
  if [[ ! -f "$sources/node_modules/cmu-pronouncing-dictionary/index.js" ]]; then
    echo "Installing the pronouncing dictionary from npm"
    (cd "$sources" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error >/dev/null)
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# npm installs the pronouncing dictionary; Debian's nodejs and npm only where none is there yet.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
if ((${#missing[@]} == 0)); then
  install_npm_sources
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_npm_sources
