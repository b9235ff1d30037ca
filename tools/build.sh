#!/usr/bin/env bash
# Configures and builds Harbeck in the given folder (default: build/); any
# further arguments name the only targets to build. HARBECK_BUILD_JOBS sets
# the number of parallel jobs (default: one per processor). When ccache is
# installed, compilations go through it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Paths under the source folder are hashed relative to it, so that other
  # checkouts of the tree share the cache.
  export CCACHE_BASEDIR="$top"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${HARBECK_BUILD_JOBS:-$(nproc)}" "${targets[@]}"
