#!/usr/bin/env bash
# Usage: bench/dwg/run_bench.sh [BUILD_DIR [FOLDER]]
# Builds the benchmark (HARBECK_BENCH=ON) and runs it over every DWG file of
# FOLDER (default: the shared DWG fixtures): our open and first render at
# 1920 x 1080 beside LibreDWG's own read of the same file, asked in turn
# (see dwg_bench.cpp), the start-up of both, and thumbnails a second. The
# machine's load average is printed before and after: run it on a quiet
# machine.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
mkdir -p "$build" && build=$(cd "$build" && pwd)  # Wine wants an absolute prefix
folder=${2:-}
if [ -z "$folder" ]; then
  for candidate in "$top/../shared/fixtures/dwg" "$top/../../shared/fixtures/dwg"; do
    [ -d "$candidate" ] && folder=$(cd "$candidate" && pwd) && break
  done
fi
# The build script installs the reader's package; the option stays in the cache.
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
bash "$top/tools/build.sh" "$build" dwg_bench keepalive >/dev/null
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
# The view worker's record of each read (see read_dwg.mjs).
export HARBECK_DWG_STAGES="$build/dwg-stages.txt"
rm -f "$HARBECK_DWG_STAGES"
args=()
for f in "$folder"/*.dwg; do args+=("Z:$(echo "$f" | tr / '\\')"); done
"$build/bench/dwg/dwg_bench.exe" "$top/bench/dwg/package_read.mjs" "$build/dwg-reader" "${args[@]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
