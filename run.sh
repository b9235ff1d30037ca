#!/usr/bin/env bash
# Builds Harbeck and runs it under Wine in its own prefix. With no display it
# runs on a virtual display inside Wine's virtual desktop, writes a screenshot
# (harbeck-screen.png) once the main window is up, and runs until interrupted.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${HARBECK_BUILD_DIR:-$top/build}
prefix_dir=${HARBECK_PREFIX_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/harbeck-wine}

bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" "$build" harbeck keepalive waitwindow

source "$top/tools/wine-session.sh"
trap harbeck_end_session EXIT
trap 'exit 130' INT TERM

program="$build/app/harbeck.exe"
if [ -n "${DISPLAY:-}" ]; then
  harbeck_use_prefix "$prefix_dir"
  "$program" "$@"
  exit $?
fi

harbeck_start_xvfb
harbeck_use_prefix "$prefix_dir"
wine explorer /desktop=Harbeck,1280x1024 "$program.so" "$@" &
HARBECK_PIDS+=($!)
# Every window class of the program's class library is named "Harbeck...".
if "$build/tools/waitwindow.exe" Harbeck 120 Harbeck; then
  sleep 2
  import -window root "$top/harbeck-screen.png"
  echo "Harbeck is running on display $DISPLAY; screenshot: $top/harbeck-screen.png"
else
  echo "The main window did not appear within 120 s" >&2
fi
wait "${HARBECK_PIDS[-1]}"
