#!/usr/bin/env bash
# Configures and builds Harbeck in the given folder (default: build/); any
# further arguments name the only targets to build. HARBECK_BUILD_JOBS sets
# the number of parallel jobs (default: one per processor). When ccache is
# installed, compilations go through it. The DWG reader's npm package is
# installed into the build folder (Node.js 20 or later).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
# One configure and build at a time in a folder: run.sh started while
# test.sh still configures or builds the same folder would otherwise
# regenerate its makefiles under it and compile the same objects again.
mkdir -p "$build"
exec {lock}>"$build/.harbeck-build-lock"
if ! flock -n "$lock"; then
  echo "Waiting for the other build in $build to finish..." >&2
  flock "$lock"
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Paths under the source folder are hashed relative to it, so that other
  # checkouts of the tree share the cache.
  export CCACHE_BASEDIR="$top"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null

# The DWG reader's LibreDWG package (npm), installed with npm ci from our
# lock file beside the reader that CMake put into the build folder; again
# only when the lock file changed.
reader="$build/dwg-reader"
node_major=$(node --version 2>/dev/null | sed -n 's/^v\([0-9]*\)\..*/\1/p')
if [ -z "$node_major" ] || [ "$node_major" -lt 20 ] || ! command -v npm >/dev/null 2>&1; then
  echo "Node.js 20 or later with npm is needed to read DWG files (found: $(node --version 2>/dev/null || echo 'no node'))" >&2
  exit 1
fi
if ! cmp -s "$reader/package-lock.json" "$reader/node_modules/.harbeck-lock.json"; then
  (cd "$reader" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$reader/package-lock.json" "$reader/node_modules/.harbeck-lock.json"
fi
cmake --build "$build" -j"${HARBECK_BUILD_JOBS:-$(nproc)}" "${targets[@]}"
