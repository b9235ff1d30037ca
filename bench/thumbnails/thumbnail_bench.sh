#!/bin/bash
# The thumbnail benchmarks, each beside its peer in the same run:
#   1. first visit of a folder of 200 photos of 12 MP through the task
#      thread, against vipsthumbnail on the same files (goal: as fast);
#   2. writing a library of 10,000 thumbnails: time and bytes per thumbnail,
#      against the size of the JPEG thumbnails vipsthumbnail wrote;
#   3. second visit of those 10,000 files: every WM_THUMB_DONE within 0.5 s
#      of the batch start;
#   4. a DXF of 5,000 entities without a stored picture: its thumbnail in
#      under 50 ms, beside ezdxf reading the same file.
#
#   bench/thumbnails/thumbnail_bench.sh <builddir> [photos]
#
# The photos (ImageMagick) and the drawing (ezdxf) are made in the build
# folder on the first run. vipsthumbnail comes with Debian's libvips-tools
# (apt-get install libvips-tools); without it the peer of 1 and 2 is left out.
# Build with: cmake -S . -B <builddir> -DHARBECK_BENCH=ON && cmake --build <builddir> --target thumbnail_bench
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
photos=${2:-200}
work=$build/bench-thumbnails
mkdir -p "$work"

source "$top/bench/bench_common.sh"
bench_make_photos "$work" "$photos"
[ -f "$work/big.dxf" ] || /usr/bin/python3 "$top/bench/thumbnails/make_big_dxf.py" "$work/big.dxf" 5000

winpath() { echo "Z:${1//\//\\}"; }
bench() { bench_run "$build/bench/thumbnails/thumbnail_bench.exe" "$@"; }
source "$top/tools/wine-session.sh"
harbeck_start_xvfb
harbeck_use_prefix "$build/test-env"
harbeck_start_keepalive "$build"
rm -rf "$work/cache" "$work/library"
# Warm the page cache for both sides.
cat "$work"/photos/*.jpg >/dev/null

echo "== 1. first visit of $photos photos of 12 MP"
bench photos "$(winpath "$work/photos")" "$(winpath "$work/cache")"
if command -v vipsthumbnail >/dev/null; then
  rm -rf "$work/vips" && mkdir -p "$work/vips"
  start=$(date +%s%N)
  vipsthumbnail -s 160x120 -o "$work/vips/%s.jpg" "$work"/photos/*.jpg
  end=$(date +%s%N)
  echo "vipsthumbnail: $photos photos in $(echo "scale=2; ($end - $start) / 1000000000" | bc) s," \
       "$(echo "scale=1; $photos * 1000000000 / ($end - $start)" | bc) thumbnails/s"
fi

echo "== 2. writing a library of 10,000 thumbnails"
bench library "$(winpath "$work/library")" "$(winpath "$work/cache")" 10000
if [ -d "$work/vips" ]; then
  echo "vipsthumbnail's JPEG thumbnails (quality 75): $(($(cat "$work"/vips/*.jpg | wc -c) / photos)) bytes per thumbnail"
fi

echo "== 3. second visit of the 10,000 files (goal: within 0.5 s)"
bench revisit "$(winpath "$work/library")" "$(winpath "$work/cache")"

echo "== 4. a DXF of 5,000 entities (goal: under 50 ms)"
bench drawing "$(winpath "$work/big.dxf")" "$(winpath "$work/cache")" 10
start=$(date +%s%N)
/usr/bin/python3 -c "import ezdxf, sys; ezdxf.readfile(sys.argv[1])" "$work/big.dxf"
end=$(date +%s%N)
echo "ezdxf reading the same file: $(( (end - start) / 1000000 )) ms"
harbeck_end_session
