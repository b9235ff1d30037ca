# Shell helpers of the benchmark scripts; source this file.

# bench_make_photos FOLDER COUNT [EXTENSION]: fills FOLDER/photos (JPEG) or
# FOLDER/<extension>s (e.g. pngs) with COUNT photos of 4000 x 3000 (12 MP),
# unless they are there already: eight distinct ImageMagick pictures
# (JPEG, converted for other formats), copied under new names
# (photo000.jpg ...).
bench_make_photos() {
  local work=$1 photos=$2 extension=${3:-jpg} folder i
  folder=$work/photos
  [ "$extension" = jpg ] || folder=$work/${extension}s
  [ -f "$folder/photo$(printf %03d $((photos - 1))).$extension" ] && return 0
  mkdir -p "$work/originals"
  for i in 0 1 2 3 4 5 6 7; do
    [ -f "$work/originals/$i.jpg" ] ||
      echo "convert -size 4000x3000 -seed $i plasma:fractal -attenuate 0.3 +noise Gaussian -quality 90 $work/originals/$i.jpg"
  done | xargs -r -P 4 -I{} sh -c {}
  for i in 0 1 2 3 4 5 6 7; do
    [ -f "$work/originals/$i.$extension" ] || echo "convert $work/originals/$i.jpg $work/originals/$i.$extension"
  done | xargs -r -P 4 -I{} sh -c {}
  rm -rf "$folder" && mkdir -p "$folder"
  for ((i = 0; i < photos; i++)); do
    cp "$work/originals/$((i % 8)).$extension" "$folder/photo$(printf %03d $i).$extension"
  done
}

# bench_run PROGRAM ARGS...: runs a benchmark program under Wine and prints
# its output. The output goes through a file, as a Wine service the program
# starts would keep a pipe open.
bench_run() {
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1 || true
  grep -v "Read access denied" "$log" | tr -d '\r'
  rm -f "$log"
}

# bench_build BUILD TARGET...: configures BUILD with the benchmarks on, builds
# the targets through tools/build.sh and prints BUILD's absolute path.
bench_build() {
  local build=$1 top
  shift
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  mkdir -p "$build"
  build=$(cd "$build" && pwd)
  cmake -S "$top" -B "$build" -DHARBECK_BENCH=ON >/dev/null
  bash "$top/tools/build.sh" "$build" "$@" >/dev/null
  echo "$build"
}

# bench_need_vipsthumbnail: installs Debian's libvips-tools when
# vipsthumbnail is missing (as root); false when it is still missing.
bench_need_vipsthumbnail() {
  command -v vipsthumbnail >/dev/null && return 0
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends libvips-tools >/dev/null 2>&1 ||
      { apt-get update -qq >/dev/null 2>&1 &&
        apt-get install -y -qq --no-install-recommends libvips-tools >/dev/null 2>&1; } || true
  fi
  command -v vipsthumbnail >/dev/null && return 0
  echo "vipsthumbnail could not be installed (libvips-tools): its figures are left out"
  return 1
}

# bench_load: the machine's load, for the figures it is printed beside.
bench_load() {
  echo "load $(cut -d' ' -f1 /proc/loadavg) on $(nproc) processors"
}
