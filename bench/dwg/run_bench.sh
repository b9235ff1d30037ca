#!/usr/bin/env bash
# Usage: bench/dwg/run_bench.sh [BUILD_DIR [FOLDER]]
# Builds the benchmark (HARBECK_BENCH=ON) and, for every DWG file of FOLDER
# (default: the shared DWG fixtures), prints LibreDWG's own read of the file
# in a fresh Node process (the process's start-up, its first read and its
# fastest later read of the file) beside our open and first render at
# 1920 x 1080 in two rounds over the files, split into the worker's part,
# the DXF reader's and the render, with our time over the package's; then
# the start-up of our worker, and thumbnails a second over the folder. The
# machine's load average is printed first: run it on a quiet machine.
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
files=("$folder"/*.dwg)
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

declare -A startup read_first read_warm
for f in "${files[@]}"; do
  read -r s c w < <(node "$top/bench/dwg/package_read.mjs" "$build/dwg-reader" "$f" 2>/dev/null)
  startup[$f]=$s; read_first[$f]=$c; read_warm[$f]=$w
done

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
args=()
for f in "${files[@]}"; do args+=("Z:$(echo "$f" | tr / '\\')"); done
output=$("$build/bench/dwg/dwg_bench.exe" "${args[@]}")

# The seconds of a part ("worker", "dxf", "render", "open+render") of a file's open in a round.
part() { grep -F "$(basename "$1") $2 " <<<"$output" | sed -n "s/.* $3 \([0-9.]*\).*/\1/p"; }

echo "package: LibreDWG's read and convert in a fresh Node process; ours: open + first render (ms)"
printf '%-18s %8s %8s %8s | %8s %8s %8s %8s %8s | %7s %7s\n' file startup 1st-read warm-read \
  round1 round2 worker dxf render r1/1st r2/warm
for f in "${files[@]}"; do
  awk -v n="$(basename "$f")" -v s="${startup[$f]}" -v c="${read_first[$f]}" -v w="${read_warm[$f]}" \
      -v o1="$(part "$f" round1 open+render)" -v o2="$(part "$f" round2 open+render)" \
      -v wk="$(part "$f" round2 worker)" -v dx="$(part "$f" round2 dxf)" -v rn="$(part "$f" round2 render)" \
      'BEGIN { printf "%-18s %8.0f %8.0f %8.0f | %8.0f %8.0f %8.0f %8.0f %8.0f | %7.2f %7.2f\n",
               n, s, c, w, o1 * 1000, o2 * 1000, wk * 1000, dx * 1000, rn * 1000, o1 * 1000 / c, o2 * 1000 / w }'
done
first=$(grep -F " first " <<<"$output" | sed -n 's/.* open+render \([0-9.]*\).*/\1/p')
again=$(part "${files[0]}" round2 open+render)
awk -v a="$first" -v b="$again" -v n="$(basename "${files[0]}")" \
  'BEGIN { printf "our worker start-up: first open of %s %.0f ms, %.0f ms more than a later open\n", n, a * 1000, (a - b) * 1000 }'
grep thumbnails <<<"$output"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
