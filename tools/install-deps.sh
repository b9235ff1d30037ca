#!/usr/bin/env bash
# Installs, once, everything the build, the program and the tests need on Debian 12.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake make g++ wine wine64 wine64-tools libwine-dev fonts-wine fonts-wqy-zenhei fonts-wqy-microhei
  xvfb xauth x11-apps locales imagemagick
  zlib1g-dev libjpeg62-turbo-dev libpng-dev libtiff-dev libmng-dev libopenjp2-7-dev
  libjsoncpp-dev libboost-dev libgtest-dev
  libjpeg-turbo-progs libtiff-tools gifsicle libopenjp2-tools python3-ezdxf python3-matplotlib python3-pil
  ghostscript libimage-exiftool-perl fp-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The program runs under a Chinese locale so that the ANSI code page is 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "The zh_CN.UTF-8 locale is missing (run as root to generate it)" >&2
    exit 1
  fi
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# DWG files are read by a Node.js program (LibreDWG as WebAssembly): Node.js
# 20 or later and npm. Debian 12's own nodejs is older, so it is not
# installed from here.
node_major=$(node --version 2>/dev/null | sed -n 's/^v\([0-9]*\)\..*/\1/p')
if [ -z "$node_major" ] || [ "$node_major" -lt 20 ]; then
  echo "Node.js 20 or later is missing (found: $(node --version 2>/dev/null || echo 'no node')); DWG files need it" >&2
  exit 1
fi
if ! command -v npm >/dev/null 2>&1; then
  echo "npm is missing (it comes with Node.js 20 or later); DWG files need it" >&2
  exit 1
fi
