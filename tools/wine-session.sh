# Functions shared by run.sh and test.sh: a virtual display, a booted Wine
# prefix and a keepalive process. Source this file; every process it starts
# is recorded in HARBECK_PIDS and ended by harbeck_end_session.

HARBECK_PIDS=()

# Starts Xvfb on a free display and exports DISPLAY.
harbeck_start_xvfb() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  HARBECK_PIDS+=($!)
  local tries=0
  while [ ! -s "$displayfile" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  if [ ! -s "$displayfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$displayfile"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
}

# harbeck_use_prefix DIR: points Wine at DIR (HOME and XDG_DATA_HOME beside it,
# so the prefix never links into the user's own folders) under the Chinese
# locale, and boots the prefix when it is new.
harbeck_use_prefix() {
  local dir=$1
  mkdir -p "$dir/home" "$dir/xdg"
  # Without any X resources (no file here, none on a bare display) Xlib
  # looks for ~/.Xdefaults again at every lookup, and Wine looks one up at
  # every font selection: two failed file opens each time a window draws.
  [ -f "$dir/home/.Xdefaults" ] || : >"$dir/home/.Xdefaults"
  export WINEPREFIX="$dir/prefix"
  export HOME="$dir/home"
  export XDG_DATA_HOME="$dir/xdg"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=zh_CN.UTF-8
  unset LC_ALL LANGUAGE
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # A crash ends the process at once with a backtrace instead of a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  harbeck_install_symbol_font
  harbeck_install_font_substitutes
}

# Caption buttons, sizing-bar buttons and drop-down arrows draw their glyphs
# with the Marlett symbol font; a new prefix's Fonts folder is empty, and
# without it they show the letters "0 1 r". Debian's fonts-wine has it.
harbeck_install_symbol_font() {
  local font=/usr/share/wine/fonts/marlett.ttf
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$font" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp "$font" "$fonts/marlett.ttf"
  fi
}

# Points the faces the program asks for at an outline CJK face with full
# ASCII (tools/prefix-fonts.reg says which). Imported again only when that
# file differs from the copy kept in the prefix, so an unchanged prefix
# costs no Wine process.
harbeck_install_font_substitutes() {
  local settings
  settings="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/prefix-fonts.reg"
  local applied="$WINEPREFIX/harbeck-fonts.reg"
  cmp -s "$settings" "$applied" && return 0
  local unicode="$WINEPREFIX/harbeck-fonts-utf16.reg"
  # reg import reads a version 5 file as UTF-16 with a byte order mark.
  { printf '\xff\xfe'; sed 's/$/\r/' "$settings" | iconv -f UTF-8 -t UTF-16LE; } >"$unicode"
  if wine reg import "Z:${unicode//\//\\}" >/dev/null 2>&1; then
    wineserver -w
    cp "$settings" "$applied"
  else
    echo "The prefix's font substitutes could not be set" >&2
  fi
  rm -f "$unicode"
}

# Makes every window of the prefix open inside one Wine virtual desktop of
# the display. Without a window manager, hiding or destroying a real X window
# makes Wine wait two seconds for a state change that never comes.
harbeck_use_virtual_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
  wineserver -w
}

# The PostScript printer on port FILE: that the printing tests print to.
HARBECK_TEST_PRINTER="Harbeck PostScript"

# harbeck_add_test_printer BUILD: gives the booted prefix that printer (the
# built-in PostScript driver with a generic A4 PPD); does nothing when the
# prefix has it already.
harbeck_add_test_printer() {
  wine "$1/tools/add_printer.exe" "$HARBECK_TEST_PRINTER"
  wineserver -w
}

# harbeck_start_keepalive BUILD: a sleeping Wine process that keeps the
# server up, so that each later process starts in milliseconds.
harbeck_start_keepalive() {
  "$1/tools/keepalive.exe" >/dev/null 2>&1 &
  HARBECK_PIDS+=($!)
}

harbeck_end_session() {
  local pid
  for pid in "${HARBECK_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
  fi
  for pid in "${HARBECK_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  HARBECK_PIDS=()
}
