#!/usr/bin/env bash
# Usage: bench/dwg/run_bench.sh [BUILD_DIR [FOLDER]]
# Builds the benchmark (HARBECK_BENCH=ON) and, for every DWG file of FOLDER
# (default: the shared DWG fixtures), prints LibreDWG's own read of the file
# in a fresh Node process (and the start-up of that process) beside our open
# and first render at 1920 x 1080, with our time over the package's read;
# then thumbnails a second over the folder. Each timed open finds the worker
# started ahead of need ready; the thumbnails run back to back.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
folder=${2:-}
if [ -z "$folder" ]; then
  for candidate in "$top/../shared/fixtures/dwg" "$top/../../shared/fixtures/dwg"; do
    [ -d "$candidate" ] && folder=$(cd "$candidate" && pwd) && break
  done
fi
# The build script installs the reader's package; the option stays in the cache.
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
bash "$top/tools/build.sh" "$build" dwg_bench keepalive >/dev/null
files=("$folder"/*.dwg)

declare -A startup read_cold read_warm
for f in "${files[@]}"; do
  read -r s c w < <(node --liftoff-only "$top/bench/dwg/package_read.mjs" "$build/dwg-reader" "$f" 2>/dev/null)
  startup[$f]=$s; read_cold[$f]=$c; read_warm[$f]=$w
done

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
args=()
for f in "${files[@]}"; do args+=("Z:$(echo "$f" | tr / '\\')"); done
output=$("$build/bench/dwg/dwg_bench.exe" "${args[@]}")

printf '%-22s %9s %9s %9s %12s %9s\n' file startup read read-warm ours:open+1st "ours/read"
for f in "${files[@]}"; do
  line=$(grep -F "$(basename "$f") open" <<<"$output")
  ours=$(sed -n 's/.*open+render \([0-9.]*\).*/\1/p' <<<"$line")
  awk -v n="$(basename "$f")" -v s="${startup[$f]}" -v c="${read_cold[$f]}" -v w="${read_warm[$f]}" -v o="$ours" \
    'BEGIN { printf "%-22s %7.0fms %7.0fms %7.0fms %10.0fms %9.2f\n", n, s, c, w, o * 1000, o * 1000 / c }'
done
grep thumbnails <<<"$output"
