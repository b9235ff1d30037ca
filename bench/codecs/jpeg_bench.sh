#!/bin/bash
# Times our JPEG decoding (full size and 1/8 scale) and djpeg -scale 1/8 on
# the same files, in one run, and prints the ratio of the two 1/8 times.
#
#   bench/codecs/jpeg_bench.sh <builddir> [folder of .jpg photos] [repeats]
#
# Without a folder, a few large photos are made with ImageMagick first.
# Build with: cmake -S . -B <builddir> -DHARBECK_BENCH=ON && cmake --build <builddir>
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
folder=${2:-}
repeats=${3:-5}
if [ -z "$folder" ]; then
  folder=$build/bench-photos
  mkdir -p "$folder"
  for size in 1600x1200 3000x2000 4000x3000; do
    [ -f "$folder/plasma_$size.jpg" ] ||
      convert -size $size -seed 3 plasma: -blur 0x1 -quality 90 "$folder/plasma_$size.jpg"
  done
fi
folder=$(cd "$folder" && pwd)

source "$top/tools/wine-session.sh"
harbeck_start_xvfb
harbeck_use_prefix "$build/test-env"
harbeck_start_keepalive "$build"
ours=$(wine "$build/bench/codecs/jpeg_decode_bench.exe" "Z:${folder//\//\\}" "$repeats")
harbeck_end_session

echo "$ours"
echo
printf "%-28s %12s %12s %8s\n" file "ours 1/8 ms" "djpeg 1/8 ms" ratio
echo "$ours" | tail -n +2 | while read -r name _ _ _ eighth; do
  start=$(date +%s%N)
  for ((i = 0; i < repeats; i++)); do
    djpeg -scale 1/8 -outfile /dev/null "$folder/$name"
  done
  end=$(date +%s%N)
  djpeg_ms=$(echo "scale=2; ($end - $start) / 1000000 / $repeats" | bc)
  ratio=$(echo "scale=2; $eighth / $djpeg_ms" | bc)
  printf "%-28s %12s %12s %8s\n" "$name" "$eighth" "$djpeg_ms" "$ratio"
done
