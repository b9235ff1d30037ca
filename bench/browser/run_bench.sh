#!/usr/bin/env bash
# Usage: bench/browser/run_bench.sh [BUILD_DIR] [COUNT]
# The file list's second visit of a folder of COUNT (10,000) files whose
# thumbnails are in the folder's library: rows listed and last thumbnail,
# beside `ls -l` listing the same folder and vipsthumbnail making the same
# files' thumbnails from scratch (when installed).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
count=${2:-10000}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target list_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
work=$build/bench-list
mkdir -p "$work"
winpath() { echo "Z:${1//\//\\}"; }
source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
if [ ! -f "$work/files/file$(printf %05d $((count - 1))).png" ]; then
  rm -rf "$work/files" && mkdir -p "$work/files"
  convert -size 160x120 gradient:orange-blue "$work/sample.png"
  /usr/bin/python3 -c "
import shutil, sys
for i in range(int(sys.argv[2])):
    shutil.copyfile(sys.argv[1] + '/../sample.png', sys.argv[1] + '/file%05d.png' % i)" "$work/files" "$count"
fi
rm -rf "$work/cache"
log=$(mktemp)
"$build/bench/browser/list_bench.exe" "$(winpath "$work/files")" "$(winpath "$work/cache")" "$count" >"$log" 2>&1 || true
grep -v "Read access denied" "$log" | tr -d '\r'
rm -f "$log"

start=$(date +%s%N)
ls -l "$work/files" >/dev/null
end=$(date +%s%N)
echo "ls -l of the same folder: $(echo "scale=3; ($end - $start) / 1000000000" | bc) s"
if command -v vipsthumbnail >/dev/null; then
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  start=$(date +%s%N)
  vipsthumbnail -s 110x90 -o "$work/vips/%s.jpg" "$work"/files/*.png
  end=$(date +%s%N)
  echo "vipsthumbnail, the same files' thumbnails from scratch: $(echo "scale=3; ($end - $start) / 1000000000" | bc) s"
fi
