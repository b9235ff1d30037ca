#!/usr/bin/env bash
# Usage: bench/zrio/run_save_bench.sh BUILD_DIR
# Builds the save benchmark (HARBECK_BENCH=ON), writes the 100,000-entity
# DXF of the open benchmark, and prints the time of saving it as DWG 2004,
# 2000 and R14 beside the time of saving it as DXF 2000.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target zrio_save_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
file="$build/bench/zrio/big.dxf"
/usr/bin/python3 "$top/bench/zrio/make_big.py" "$file" >/dev/null
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
"$build/bench/zrio/zrio_save_bench.exe" "Z:$(echo "$file" | tr / '\\')"
