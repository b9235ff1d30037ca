#!/bin/bash
# The thumbnail benchmarks, each beside its peer in the same run, with the
# machine's load (one-minute load average) beside every figure:
#   1. first visit of a folder of 200 JPEG photos of 12 MP through the task
#      thread, against vipsthumbnail on the same files run as eight
#      processes at once (xargs -P8; goal: at least as fast), each process
#      started for one file and for ten (or an eighth of the files), and as
#      one process;
#   2. one photo's thumbnail on one thread, JPEG and PNG, against
#      vipsthumbnail making it in one process, and how far it lies from
#      ImageMagick's box reduction (goal: 3 levels at most);
#   3. first visit of a folder of 24 PNG photos of 12 MP, against
#      vipsthumbnail as in 1;
#   4. writing a library of 10,000 thumbnails: time and bytes per thumbnail,
#      against the size of the JPEG thumbnails vipsthumbnail wrote;
#   5. second visit of those 10,000 files: every WM_THUMB_DONE within 0.5 s
#      of the batch start;
#   6. a DXF of 5,000 entities without a stored picture: its thumbnail in
#      under 50 ms, beside ezdxf reading the same file.
# 1, 3 and 5 run ROUNDS times (3), ours and the peer by turns.
#
#   bench/thumbnails/thumbnail_bench.sh [BUILD_DIR [PHOTOS [ROUNDS]]]
#
# The build folder (default build-bench) is configured with the benchmarks
# and the benchmark built. The photos (ImageMagick) and the drawing (ezdxf)
# are made in it on the first run. vipsthumbnail comes with Debian's
# libvips-tools, installed here when missing; without it its figures are
# left out.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/bench/bench_common.sh"
build=$(bench_build "${1:-$top/build-bench}" thumbnail_bench keepalive)
photos=${2:-200}
rounds=${3:-3}
pngs=24
work=$build/bench-thumbnails
mkdir -p "$work"
have_vips=0
bench_need_vipsthumbnail && have_vips=1

bench_make_photos "$work" "$photos"
bench_make_photos "$work" "$pngs" png
[ -f "$work/big.dxf" ] || /usr/bin/python3 "$top/bench/thumbnails/make_big_dxf.py" "$work/big.dxf" 5000

winpath() { echo "Z:${1//\//\\}"; }
bench() { bench_run "$build/bench/thumbnails/thumbnail_bench.exe" "$@"; }
nanoseconds() { date +%s%N; }
# per_second COUNT START END
per_second() { echo "scale=1; $1 * 1000000000 / ($3 - $2)" | bc; }
seconds() { echo "scale=2; ($2 - $1) / 1000000000" | bc; }

# vips_parallel FOLDER EXTENSION COUNT FILES: vipsthumbnail over the files,
# eight processes at once taking FILES files each (each process also runs
# threads of its own).
vips_parallel() {
  local start end
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  start=$(nanoseconds)
  ls "$1"/*."$2" | xargs -P8 -n "$4" vipsthumbnail -s 160x120 -o "$work/vips/%s.jpg"
  end=$(nanoseconds)
  echo "vipsthumbnail, 8 processes at once, $4 file(s) a process: $3 photos in $(seconds "$start" "$end") s," \
       "$(per_second "$3" "$start" "$end") thumbnails/s ($(bench_load))"
}

# box_difference THUMBNAIL SOURCE: the mean difference, in levels, of the
# thumbnail from ImageMagick's box reduction of the source file.
box_difference() {
  convert "$2" -filter box -resize 160x120 "$work/box.png"
  compare -metric MAE "$1" "$work/box.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p' |
    awk '{printf "%.2f", $1 * 255}'
}

# first_visits FOLDER EXTENSION COUNT: the rounds of first visits, ours and
# then the parallel peer in each, the page cache warmed for both. The peer's
# processes take one file each, then up to ten, so that all eight run.
first_visits() {
  local round batch=$((($3 + 7) / 8))
  [ "$batch" -le 10 ] || batch=10
  cat "$1"/*."$2" >/dev/null
  for ((round = 1; round <= rounds; round++)); do
    echo "-- round $round"
    rm -rf "$work/cache"
    echo "ours ($(bench_load) at the start):"
    bench photos "$(winpath "$1")" "$(winpath "$work/cache")" "$2"
    if [ "$have_vips" = 1 ]; then
      vips_parallel "$1" "$2" "$3" 1
      vips_parallel "$1" "$2" "$3" "$batch"
    fi
  done
  return 0
}

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
harbeck_start_xvfb
harbeck_use_prefix "$build/bench-env"
harbeck_start_keepalive "$build"
rm -rf "$work/cache" "$work/library"
echo "this machine: $(nproc) processors, $(bench_load)"

echo "== 1. first visit of $photos JPEG photos of 12 MP (goal: at least vipsthumbnail's 8 processes)"
first_visits "$work/photos" jpg "$photos"
if [ "$have_vips" = 1 ]; then
  rm -rf "$work/vips-one" && mkdir -p "$work/vips-one"
  start=$(nanoseconds)
  vipsthumbnail -s 160x120 -o "$work/vips-one/%s.jpg" "$work"/photos/*.jpg
  end=$(nanoseconds)
  echo "vipsthumbnail, one process: $photos photos in $(seconds "$start" "$end") s," \
       "$(per_second "$photos" "$start" "$end") thumbnails/s ($(bench_load))"
fi

echo "== 2. one photo's thumbnail on one thread"
for kind in jpg:5 png:9; do
  file=$work/originals/0.${kind%%:*}
  echo "ours, ${kind%%:*} ($(bench_load)):"
  bench one "$(winpath "$file")" "$(winpath "$work/cache")" "${kind##*:}" 10 "$(winpath "$work/one.bmp")"
  echo "its mean difference from ImageMagick's box reduction: $(box_difference "$work/one.bmp" "$file")" \
       "levels (goal: at most 3)"
  if [ "$have_vips" = 1 ]; then
    start=$(nanoseconds)
    for i in 1 2 3 4 5 6 7 8 9 10; do vipsthumbnail -s 160x120 -o "$work/one.jpg" "$file"; done
    end=$(nanoseconds)
    echo "vipsthumbnail, ${kind%%:*}, one process a photo: mean" \
         "$(echo "scale=1; ($end - $start) / 10000000" | bc) ms over 10 ($(bench_load))"
  fi
done

echo "== 3. first visit of $pngs PNG photos of 12 MP"
first_visits "$work/pngs" png "$pngs"

echo "== 4. writing a library of 10,000 thumbnails"
bench library "$(winpath "$work/library")" "$(winpath "$work/cache")" 10000
if [ "$have_vips" = 1 ]; then
  echo "vipsthumbnail's JPEG thumbnails (quality 75): $(($(cat "$work"/vips-one/*.jpg | wc -c) / photos))" \
       "bytes per thumbnail"
fi

echo "== 5. second visit of the 10,000 files (goal: within 0.5 s)"
for ((round = 1; round <= rounds; round++)); do
  echo "-- round $round ($(bench_load))"
  bench revisit "$(winpath "$work/library")" "$(winpath "$work/cache")"
done

echo "== 6. a DXF of 5,000 entities (goal: under 50 ms)"
echo "($(bench_load))"
bench drawing "$(winpath "$work/big.dxf")" "$(winpath "$work/cache")" 10
start=$(nanoseconds)
/usr/bin/python3 -c "import ezdxf, sys; ezdxf.readfile(sys.argv[1])" "$work/big.dxf"
end=$(nanoseconds)
echo "ezdxf reading the same file: $(( (end - start) / 1000000 )) ms"
