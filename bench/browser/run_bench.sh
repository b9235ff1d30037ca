#!/usr/bin/env bash
# Usage: bench/browser/run_bench.sh [BUILD_DIR] [COUNT] [PHOTOS]
# The file list in thumbnail view, each figure beside its peer in the same
# run:
#   1. the second visit of a folder of COUNT (10,000) files whose thumbnails
#      are in the folder's library: rows listed (goal < 1 s) and the last
#      thumbnail (goal < 2 s), beside `ls -l` listing the same folder and
#      vipsthumbnail making the same files' thumbnails from scratch;
#   2. the first visit of a folder of PHOTOS (200) photos of 12 MP: the
#      first screenful of thumbnails (goal < 1 s) and all of them, beside
#      vipsthumbnail on the same files.
# Both print the longest time the UI thread was blocked (goal < 100 ms).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build-bench}
count=${2:-10000}
photos=${3:-200}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
cmake --build "$build" --target list_bench -j"${HARBECK_BUILD_JOBS:-$(nproc)}" >/dev/null
work=$build/bench-list
mkdir -p "$work"
winpath() { echo "Z:${1//\//\\}"; }
seconds_since() { echo "scale=3; ($(date +%s%N) - $1) / 1000000000" | bc; }
source "$top/bench/bench_common.sh"
# The peer of the thumbnail figures.
bench_need_vipsthumbnail || true
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
bench_make_photos "$work" "$photos"

echo "== 1. second visit of $count files"
rm -rf "$work/cache"
bench_run "$build/bench/browser/list_bench.exe" revisit "$(winpath "$work/files")" "$(winpath "$work/cache")" "$count"
start=$(date +%s%N)
ls -l "$work/files" >/dev/null
echo "ls -l of the same folder: $(seconds_since "$start") s"
rm -rf "$work/vips" && mkdir -p "$work/vips"
if command -v vipsthumbnail >/dev/null; then
  start=$(date +%s%N)
  vipsthumbnail -s 110x90 -o "$work/vips/%s.jpg" "$work"/files/*.png
  echo "vipsthumbnail, the same files' thumbnails from scratch: $(seconds_since "$start") s"
fi

echo "== 2. first visit of $photos photos of 12 MP"
# Warm the page cache for both sides; no library from an earlier run.
cat "$work"/photos/*.jpg >/dev/null
rm -rf "$work/cache"
bench_run "$build/bench/browser/list_bench.exe" photos "$(winpath "$work/photos")" "$(winpath "$work/cache")"
if command -v vipsthumbnail >/dev/null; then
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  start=$(date +%s%N)
  vipsthumbnail -s 110x90 -o "$work/vips/%s.jpg" "$work"/photos/*.jpg
  echo "vipsthumbnail, the same photos: $(seconds_since "$start") s"
fi
