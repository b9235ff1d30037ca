#!/bin/bash
# Times resizing a docking frame with four docked bars against a bare frame
# with plain child windows, in one run, on a virtual display.
#
#   bench/toolkit/bar_layout_bench.sh <builddir> [steps]
#
# Build with: cmake -S . -B <builddir> -DHARBECK_BENCH=ON && cmake --build <builddir>
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
steps=${2:-200}

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/test-env"
harbeck_use_virtual_desktop
harbeck_start_keepalive "$build"
"$build/bench/toolkit/bar_layout_bench.exe" "$steps"
