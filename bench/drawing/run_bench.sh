#!/usr/bin/env bash
# Usage: bench/drawing/run_bench.sh BUILD_DIR
# Builds the benchmark (HARBECK_BENCH=ON), writes the 100,000-entity DXF of
# bench/zrio, and prints the drawing thread's DCMD_OPEN_EXTENTS to
# WM_DRAW_DONE at 1920 x 1080 beside a bare CDrawing open and render of the
# same file, then the zoom-in to WM_DRAW_DONE.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target draw_thread_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
file="$build/bench/drawing/big.dxf"
[ -f "$file" ] || /usr/bin/python3 "$top/bench/zrio/make_big.py" "$file" >/dev/null
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
"$build/bench/drawing/draw_thread_bench.exe" "Z:$(echo "$file" | tr / '\\')"
