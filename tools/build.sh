#!/usr/bin/env bash
# Configures and builds Harbeck in the given folder (default: build/); any
# further arguments name the only targets to build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
