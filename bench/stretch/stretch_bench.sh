#!/usr/bin/env bash
# The thumbnail reduction by averaging beside Wine's HALFTONE stretch, in
# milliseconds a thumbnail. Its share of a first visit is what it adds to
# each photo's decoding (bench/thumbnails/thumbnail_bench.sh times those).
#
#   bench/stretch/stretch_bench.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/bench/bench_common.sh"
build=$(bench_build "${1:-$top/build-bench}" stretch_bench keepalive)
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
echo "this machine: $(bench_load)"
bench_run "$build/bench/stretch/stretch_bench.exe"
