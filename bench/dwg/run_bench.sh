#!/usr/bin/env bash
# Usage: bench/dwg/run_bench.sh [BUILD_DIR [FOLDER]]
# Builds the benchmark (HARBECK_BENCH=ON) and, for every DWG file of FOLDER
# (default: the shared DWG fixtures), prints LibreDWG's own read of the file
# in a fresh Node process (the process's start-up, its first read and its
# fastest later read of the file) beside our open and first render at
# 1920 x 1080: the first round over the files and the fastest of the later
# rounds, with our time over the package's. That fastest open is split into
# the worker's part (as the worker saw it: the wait for its LibreDWG
# instance, LibreDWG's read, the conversion, the DXF text and its sending;
# "pipe" is the rest of it: reading the file and its way to the worker, and
# the answer's way back), the DXF reader's part and the render. Then the start-up of our
# worker, and thumbnails a second over the folder. The machine's load
# average is printed first: run it on a quiet machine.
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
# The workers' record of each read (see read_dwg.mjs).
export HARBECK_DWG_STAGES="$build/dwg-stages.txt"
rm -f "$HARBECK_DWG_STAGES"
args=()
for f in "${files[@]}"; do args+=("Z:$(echo "$f" | tr / '\\')"); done
output=$("$build/bench/dwg/dwg_bench.exe" "${args[@]}")
rounds=$(grep -cF "$(basename "${files[0]}") round" <<<"$output")

# The seconds of a part ("worker", "dxf", "render", "open+render") of a file's open in a round.
part() { grep -F "$(basename "$1") $2 " <<<"$output" | sed -n "s/.* $3 \([0-9.]*\).*/\1/p"; }

# The later round in which a file opened and rendered fastest.
best_round() {
  local best=2 r
  for ((r = 3; r <= rounds; ++r)); do
    if awk -v a="$(part "$1" round$r open+render)" -v b="$(part "$1" round$best open+render)" 'BEGIN { exit !(a < b) }'; then
      best=$r
    fi
  done
  echo "$best"
}

# The view worker's record of file number $1 (from 0) in round $2, without the
# size; empty when the record is not that file's (a read failed).
stages_of() {
  local line
  line=$(sed -n "$((2 + ($2 - 1) * ${#files[@]} + $1))p" "$HARBECK_DWG_STAGES" 2>/dev/null)
  [ "${line%% *}" = "$(stat -c %s "${files[$1]}")" ] && echo "${line#* }"
}

echo "package: LibreDWG's read and convert in a fresh Node process; ours: open + first render (ms)"
printf '%-18s %7s %7s %7s | %7s %7s | %6s %6s %6s %6s %6s %6s | %6s %6s | %6s %6s\n' file startup 1st-rd warm-rd \
  round1 warm instnc read convrt text send pipe parse render r1/1st w/warm
for i in "${!files[@]}"; do
  f=${files[$i]}
  r=$(best_round "$f")
  awk -v n="$(basename "$f")" -v s="${startup[$f]}" -v c="${read_first[$f]}" -v w="${read_warm[$f]}" \
      -v o1="$(part "$f" round1 open+render)" -v o="$(part "$f" round$r open+render)" \
      -v wk="$(part "$f" round$r worker)" -v dx="$(part "$f" round$r dxf)" -v rn="$(part "$f" round$r render)" \
      -v st="$(stages_of "$i" "$r")" \
      'BEGIN { k = split(st, lap, " "); busy = 0
               for (j = 1; j <= 5; ++j) { if (k == 5) busy += lap[j]; else lap[j] = "nan" }
               pipe = k == 5 ? sprintf("%.1f", wk * 1000 - busy) : "nan"
               printf "%-18s %7.0f %7.0f %7.0f | %7.0f %7.0f | %6.1f %6.1f %6.1f %6.1f %6.1f %6s | %6.1f %6.1f | %6.2f %6.2f\n",
               n, s, c, w, o1 * 1000, o * 1000, lap[1], lap[2], lap[3], lap[4], lap[5], pipe, dx * 1000, rn * 1000,
               o1 * 1000 / c, o * 1000 / w }'
done
first=$(grep -F " first " <<<"$output" | sed -n 's/.* open+render \([0-9.]*\).*/\1/p')
again=$(part "${files[0]}" round"$(best_round "${files[0]}")" open+render)
awk -v a="$first" -v b="$again" -v n="$(basename "${files[0]}")" \
  'BEGIN { printf "our worker start-up: first open of %s %.0f ms, %.0f ms more than a later open\n", n, a * 1000, (a - b) * 1000 }'
grep thumbnails <<<"$output"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
