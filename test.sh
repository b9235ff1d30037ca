#!/usr/bin/env bash
# Builds Harbeck and runs every test under Wine, in a throwaway prefix on a
# virtual display. Exits non-zero when anything fails.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${HARBECK_BUILD_DIR:-$top/build}

bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" "$build"

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT

# Each run starts with a new prefix and no scratch files of earlier runs.
rm -rf "$build/test-env" "$build/scratch"
harbeck_start_xvfb
harbeck_use_prefix "$build/test-env"
harbeck_use_virtual_desktop
harbeck_add_test_printer "$build"
harbeck_start_keepalive "$build"

ctest --test-dir "$build" -j"${HARBECK_TEST_JOBS:-$(nproc)}" --output-on-failure "$@"
