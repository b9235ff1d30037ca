#!/bin/bash
# Times the owner-drawn list beside a plain list view, in one run, on a
# virtual display: 10,000 rows inserted and sorted, and a full repaint of a
# page of thumbnail cells; each figure is printed with its goal.
#
#   bench/toolkit_controls/controls_bench.sh <builddir> [repeats]
#
# Build with: cmake -S . -B <builddir> -DHARBECK_BENCH=ON && cmake --build <builddir>
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
repeats=${2:-5}

source "$top/tools/wine-session.sh"
source "$top/bench/bench_common.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/test-env"
harbeck_use_virtual_desktop
harbeck_start_keepalive "$build"
bench_run "$build/bench/toolkit_controls/toolkit_controls_bench.exe" "$repeats"
