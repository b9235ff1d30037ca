#!/usr/bin/env bash
# Usage: bench/zrio/run_bench.sh [BUILD_DIR [ENTITIES]]
# Builds the benchmark (HARBECK_BENCH=ON), writes a DXF of ENTITIES
# (100,000) entities as ASCII and as binary DXF, and prints for each our
# open and first render at 1920 x 1080 beside ezdxf's read of the same
# file, and the peak working set of our process against the file's size:
# the whole process (Wine and the program included) and what the open and
# render added to it. The machine's load is printed before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
count=${2:-100000}
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target zrio_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
text="$build/bench/zrio/big.dxf"
binary="$build/bench/zrio/big_bin.dxf"
echo "load before: $(cat /proc/loadavg)"
peers=$(/usr/bin/python3 "$top/bench/zrio/make_big.py" "$text" "$count" "$binary")
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
for file in "$text" "$binary"; do
  ours=$("$build/bench/zrio/zrio_bench.exe" "Z:$(echo "$file" | tr / '\\')")
  peer=$(echo "$peers" | awk -v f="$file" '$4 == f { print $2 }')
  echo "$ours" | awk -v peer="$peer" -v bytes="$(stat -c %s "$file")" -v count="$count" \
                     -v kind="$([ "$file" = "$binary" ] && echo binary || echo ASCII)" '
    / s$/ { seconds[$1] = $2 }
    /^working set before/ { before = $(NF - 1) }
    /^peak working set/ { peak = $(NF - 1) }
    END {
      mb = bytes / 1048576
      printf "%s DXF, %d entities, %.1f MB:\n", kind, count, mb
      printf "  open %.3f s, render %.3f s, open+render %.3f s; ezdxf.readfile %.3f s (open %.3fx of it)\n",
             seconds["open"], seconds["render"], seconds["open+render"], peer, seconds["open"] / peer
      printf "  peak working set %.1f MB = %.2fx the file; the open and render added %.1f MB = %.2fx the file\n",
             peak, peak / mb, peak - before, (peak - before) / mb
    }'
done
echo "load after: $(cat /proc/loadavg)"
