#!/usr/bin/env bash
# Usage: bench/zrio/run_bench.sh BUILD_DIR
# Builds the benchmark (HARBECK_BENCH=ON), writes a 100,000-entity DXF, and
# prints ezdxf's read time beside our open and first render at 1920 x 1080,
# with the peak memory against the file size.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target zrio_bench -j"$(nproc)" >/dev/null
file="$build/bench/zrio/big.dxf"
/usr/bin/python3 "$top/bench/zrio/make_big.py" "$file"
/usr/bin/python3 -c "import os, sys; print('file size %.1f MB' % (os.path.getsize(sys.argv[1]) / 1048576))" "$file"
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
"$build/bench/zrio/zrio_bench.exe" "Z:$(echo "$file" | tr / '\\')"
