#!/bin/bash
# Times the program's start-up to the browse frame on a warm prefix beside a
# bare Winelib window program, in one run, on a virtual display.
#
#   bench/app/startup_bench.sh <builddir> [runs]
#
# Build with: cmake -S . -B <builddir> -DHARBECK_BENCH=ON && cmake --build <builddir>
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/bench-env"
harbeck_use_virtual_desktop
harbeck_start_keepalive "$build"
folder="$build/bench/app/folder"
mkdir -p "$folder"
# The program's own launcher, as the tests start theirs: started through
# "wine" the programs it starts show their frames where it cannot find them.
"$build/bench/app/startup_bench.exe" "$(winepath -w "$folder" | tr -d '\r')" "$runs"
