#!/usr/bin/env bash
# Compiles the help pages into the help file the program opens (chmcmd, of
# Debian's fp-utils). The pages are kept in UTF-8 here and handed to the
# compiler in the Chinese code page (GBK) that they declare and that the help
# viewer reads them in. Arguments: the pages' folder, a work folder, the CHM.
set -euo pipefail
pages=$1
work=$2
output=$3
rm -rf "$work"
mkdir -p "$work"
for file in "$pages"/*.hhp "$pages"/*.hhc "$pages"/*.htm; do
  iconv -f UTF-8 -t GBK "$file" >"$work/$(basename "$file")"
done
(cd "$work" && chmcmd harbeck.hhp >compile.log 2>&1) || { cat "$work/compile.log" >&2; exit 1; }
mv "$work/harbeck.chm" "$output"
