#!/usr/bin/env bash
# The large mutation run, by hand (CI keeps each series' small count): every
# reader's mutation test, built under AddressSanitizer, with
# HARBECK_MUTATION_CASES cases in each of its series, in a throwaway prefix.
#
#   tools/mutation-run.sh [cases] [dwg-cases] [build folder]
#
# cases: per series (default 20000); dwg-cases: for the DWG road, where each
# case starts a LibreDWG process (default 300). At most HARBECK_RUN_JOBS
# programs (default 3) run at once, each under nice and with a time limit of
# HARBECK_RUN_LIMIT seconds (default 3600); HARBECK_RUN_ONLY (a regular
# expression) picks some of the runs by name. The slow series of one program
# are runs of their own, so that they can run side by side. Each run's
# output goes to <build>/mutation-run/<run>.log; the figures of every series
# and any failure are printed at the end. Exits non-zero when a run failed.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cases=${1:-20000}
dwg_cases=${2:-300}
build=${3:-$top/build}
jobs=${HARBECK_RUN_JOBS:-3}
limit=${HARBECK_RUN_LIMIT:-3600}

# run name, program and the tests of it that are mutation series
runs=(
  "codecs codecs_fuzz_tests_asan *"
  "codecs_lib codecs_lib_fuzz_tests_asan *"
  "codecs_hand codecs_hand_fuzz_tests_asan *-HandCodecMutations.*Metafile"
  "enhanced_metafiles codecs_hand_fuzz_tests_asan HandCodecMutations.*EnhancedMetafile"
  "placeable_metafiles codecs_hand_fuzz_tests_asan HandCodecMutations.PlaceableMetafile"
  "psd graphics_psd_tests_asan PsdReader.MutatedFilesFailCleanly"
  "jpeg_markers graphics_view_tests_asan RasterMutations.JpegMarkersAndThumbnail"
  "kimage_documents graphics_view_tests_asan RasterMutations.DocumentLoadsByExtension"
  "kimage_metafiles_psd graphics_view_tests_asan RasterMutations.DocumentLoadsMetafilesAndPsd"
  "drawing_library drawing_library_fuzz_tests_asan *"
  "zrio zrio_mutation_tests_asan *"
  "zrio_dwg zrio_dwg_mutation_tests_asan *"
)

chosen=()
names=()
programs=()
for run in "${runs[@]}"; do
  [[ "${run%% *}" =~ ${HARBECK_RUN_ONLY:-.} ]] || continue
  chosen+=("$run")
  names+=("${run%% *}")
  rest=${run#* }
  [[ " ${programs[*]} " == *" ${rest%% *} "* ]] || programs+=("${rest%% *}")
done
HARBECK_BUILD_JOBS=${HARBECK_BUILD_JOBS:-3} bash "$top/tools/build.sh" "$build" keepalive "${programs[@]}" ||
  exit 1

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb || exit 1
harbeck_use_prefix "$build/mutation-env"
harbeck_use_virtual_desktop
harbeck_start_keepalive "$build"

logs=$build/mutation-run
rm -rf "$logs"
mkdir -p "$logs"
asan_preload="$(g++ -print-file-name=libasan.so):$(g++ -print-file-name=libstdc++.so.6)"

# run_one NAME PROGRAM FILTER: one run of a program, its output in
# <name>.log, its exit status and time in <name>.status.
run_one() {
  local name=$1 program=$2 filter=$3 count=$cases
  [ "$program" = zrio_dwg_mutation_tests_asan ] && count=$dwg_cases
  local path
  path=$(find "$build/tests" -name "$program.exe" -type f | head -n1)
  local start=$SECONDS
  (cd "$(dirname "$path")" &&
    HARBECK_MUTATION_CASES=$count LD_PRELOAD=$asan_preload \
      ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:use_sigaltstack=0 \
      nice -n 10 timeout "$limit" "$path" --gtest_filter="$filter") >"$logs/$name.log" 2>&1
  echo "$? $((SECONDS - start))" >"$logs/$name.status"
}

# The session's display and keepalive are children too: only the runs are
# waited for.
running=()
for run in "${chosen[@]}"; do
  while [ ${#running[@]} -ge "$jobs" ]; do
    wait -n "${running[@]}"
    still=()
    for pid in "${running[@]}"; do
      kill -0 "$pid" 2>/dev/null && still+=("$pid")
    done
    running=("${still[@]}")
  done
  rest=${run#* }
  run_one "${run%% *}" "${rest%% *}" "${rest#* }" &
  running+=($!)
done
wait "${running[@]}"

failed=0
for name in "${names[@]}"; do
  read -r status seconds <"$logs/$name.status"
  echo "== $name: exit $status after $seconds s"
  grep -E "cases|damaged|Failure|FAILED|ERROR: AddressSanitizer|hangs" "$logs/$name.log"
  [ "$status" = 0 ] || failed=1
done
exit $failed
