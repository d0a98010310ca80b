#!/usr/bin/env bash
# Installs, on a Debian machine, whatever the build and the tests need and is
# missing: compilers, GoogleTest sources, the MinGW-w64 i686 cross compiler,
# 32-bit Wine, Xvfb, the ja_JP.UTF-8 locale, Japanese fonts (Noto Sans CJK
# JP: a UI face with tall lines, like Yu Gothic UI), clang-format and the
# release's tools (the win32-thread-model compiler, zip, osslsigncode).
set -euo pipefail

missing=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake g++ clang clang-format libclang-rt-14-dev googletest make
      g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev
      wine wine32:i386 xvfb xauth x11-utils locales
      fonts-ipafont-gothic fonts-noto-cjk imagemagick zip unzip osslsigncode openssl)

for p in "${pkgs[@]}"; do have_pkg "$p" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  # 32-bit Wine needs the i386 architecture.
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# A kernel that runs no 32-bit processes cannot start 32-bit Wine; the tests
# then run a 64-bit build of the same sources under 64-bit Wine.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  missing=()
  for p in wine64 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev; do
    have_pkg "$p" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "deps: this machine runs no 32-bit processes; installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
fi

# Wine takes its ANSI code page (932) from the Japanese locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "deps: locale ja_JP.UTF-8 is missing; run this script as root" >&2
    exit 1
  fi
fi
