#!/usr/bin/env bash
# Usage: bench/views/run_bench.sh BUILD_DIR
# Builds the benchmark (HARBECK_BENCH=ON), writes the 100,000-entity DXF of
# bench/zrio, and prints view mode's wheel zoom step and pan drag frame, from
# the input message to the repainted view, beside the bare drawing-library
# render of the same views, in quick and in full mode.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target view_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
file="$build/bench/views/big.dxf"
[ -f "$file" ] || /usr/bin/python3 "$top/bench/zrio/make_big.py" "$file" >/dev/null
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/bench-env"
harbeck_use_virtual_desktop
harbeck_start_keepalive "$build"
"$build/bench/views/view_bench.exe" "Z:$(echo "$file" | tr / '\\')"
