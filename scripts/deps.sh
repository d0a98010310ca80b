#!/usr/bin/env bash
# Installs, on a Debian machine, whatever the build and the tests need and is
# missing: compilers, GoogleTest sources, the MinGW-w64 i686 cross compiler,
# 32-bit Wine, Xvfb, the ja_JP.UTF-8 locale, Japanese fonts (Noto Sans CJK
# JP: a UI face with tall lines, like Yu Gothic UI), clang-format, git and the
# release's tools (the win32-thread-model compiler, zip, osslsigncode), and the
# benchmark's pgrep (procps), taskset (util-linux) and strace. The same names on
# Debian 12 and 13: libclang-rt-dev follows the release's default clang.
# With the argument "debian13" it installs only what scripts/debian13.sh
# needs to make a Debian 13 system (debootstrap).
set -euo pipefail

missing=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake g++ clang clang-format libclang-rt-dev googletest make git
      g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev
      wine wine32:i386 xvfb xauth x11-utils locales
      fonts-ipafont-gothic fonts-noto-cjk imagemagick zip unzip osslsigncode openssl
      procps util-linux strace)
[ "${1:-}" = debian13 ] && pkgs=(debootstrap)

# Adds the backports suite of this release from the machine's own Debian
# sources (same address and keyring), so that no mirror is written here.
add_backports() {
  source "$(dirname "${BASH_SOURCE[0]}")/apt-archive.sh"
  debian_archive "$1" ||
    { echo "deps: no Debian source for $1 in this machine's apt sources" >&2; exit 1; }
  {
    printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\n' "$archive_uri" "$1"
    [ -z "$archive_keyring" ] || echo "Signed-By: $archive_keyring"
  } >/etc/apt/sources.list.d/ombrelo-backports.sources
}

# Reads the package lists. An index that fails to download (a mirror in the
# middle of a sync says "File has unexpected size") is tried again a few
# times, then only warned of: what is needed may well install without it.
# The indexes that still failed are left in failed_indexes. (The Debian 13
# leg's host needs only debootstrap, for every architecture: a failed i386
# index is no obstacle to it.)
failed_indexes=
apt_update() {
  local log try
  log=$(mktemp)
  for try in 1 2 3; do
    apt-get update -qq >"$log" 2>&1 || true
    failed_indexes=$(grep -o 'Failed to fetch [^ ]*' "$log" | cut -d' ' -f4 | sort -u || true)
    [ -n "$failed_indexes" ] && [ "$try" -lt 3 ] || break
    echo "deps: an index failed to download; reading the lists again in $((try * 15)) s" >&2
    sleep $((try * 15))
  done
  rm -f "$log"
  for index in $failed_indexes; do echo "deps: warning: index not read: $index" >&2; done
}

# Installs the packages given. Where that fails while an index
# failed, the suites of those indexes are set aside for one more try, so
# that everything comes from the release's own suites (a security suite
# read for one architecture only would pair libraries of two versions, and
# 32-bit Wine needs both the same). What still cannot be installed is named
# on one line, with the mirror whose index failed.
apt_install() {
  local opts=() pkgs=("$@") bad=() prefs= suites mirrors
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${opts[@]}" \
    "${pkgs[@]}" >/dev/null && return 0
  # Only the indexes of a suite (under /dists/) can be set aside.
  suites=$(sed -n 's|.*/dists/\([^/]*\)/.*|\1|p' <<<"$failed_indexes" | sort -u)
  if [ -n "$suites" ]; then
    prefs=$(mktemp)
    for suite in $suites; do
      printf 'Package: *\nPin: release n=%s\nPin-Priority: -1\n\n' "$suite"
    done >"$prefs"
    opts+=(-o "Dir::Etc::Preferences=$prefs")
    echo "deps: installing again with $(echo $suites) set aside, whose index failed" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${opts[@]}" \
      "${pkgs[@]}" >/dev/null && { rm -f "$prefs"; return 0; }
  fi
  for p in "${pkgs[@]}"; do
    apt-get install -s -qq --no-install-recommends "${opts[@]}" "$p" >/dev/null 2>&1 || bad+=("$p")
  done
  [ -z "$prefs" ] || rm -f "$prefs"
  [ ${#bad[@]} -gt 0 ] || bad=("${pkgs[@]}")
  mirrors=$(sed -n 's|/dists/.*||p' <<<"$failed_indexes" | sort -u)
  echo "deps: cannot install ${bad[*]}${mirrors:+ (an index of $(echo $mirrors) failed to download)}" >&2
  exit 1
}

for p in "${pkgs[@]}"; do have_pkg "$p" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  # 32-bit Wine needs the i386 architecture.
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt_update
  apt_install "${missing[@]}"
fi
[ "${1:-}" = debian13 ] && exit 0

# A kernel that runs no 32-bit processes cannot start 32-bit Wine by itself.
# The tests then run it under qemu-i386 in a private namespace
# (i386-route.sh): bookworm's qemu 7.2 ignores MAP_FIXED_NOREPLACE and makes
# Wine crawl, so qemu-user comes from the backports suite, reached the way
# this machine reaches Debian. The x86_64 build, native here, is what the
# benchmark measures and what the tests fall back to where the namespace
# cannot be made.
if [ "${OMBRELO_I386:-auto}" = qemu ] || ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  missing=()
  for p in wine64 g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev; do
    have_pkg "$p" || missing+=("$p")
  done
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  qemu_from=
  if [ "$codename" = bookworm ]; then
    qemu_from=/bookworm-backports
    case "$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null)" in
      '' | 1:[0-8].*) missing+=("qemu-user$qemu_from") ;;
    esac
  else
    have_pkg qemu-user || missing+=(qemu-user)
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    [ "$(id -u)" -eq 0 ] || { echo "deps: missing ${missing[*]}; run this script as root" >&2; exit 1; }
    if [ -n "$qemu_from" ] && ! apt-cache policy 2>/dev/null | grep -q "$codename-backports/"; then
      add_backports "$codename"
      apt_update
    fi
    echo "deps: for the 32-bit route under qemu and the native x86_64 build, installing ${missing[*]}"
    apt_install "${missing[@]}"
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
