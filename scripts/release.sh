#!/usr/bin/env bash
# Builds the release from the committed tree (HEAD): dist/ombrelo-<version>-
# win32.zip, holding ombrelo.exe and the Japanese user's guide README.txt,
# dist/SHA256SUMS and dist/TOOLCHAIN, the Debian packages that made the
# bytes. The same commit built with the same toolchain gives the same bytes
# wherever and whenever it is built: no link time in the exe, no build
# folder in it, and the zip's file times are the commit's.
#
# Signing: with OMBRELO_SIGN_CERT and OMBRELO_SIGN_KEY (PEM files;
# OMBRELO_SIGN_PASS for the key's password) the exe is signed with
# Authenticode, timestamped by OMBRELO_TIMESTAMP_URL when that server answers.
# OMBRELO_DIST puts the results elsewhere than dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/deps.sh

dist=${OMBRELO_DIST:-$root/dist}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/stage" "$dist"
git archive --format=tar HEAD | tar -x -C "$work/src"
epoch=$(git log -1 --format=%ct)

(cd "$work/src" && cmake --preset release >/dev/null && cmake --build --preset release >/dev/null)
build=$work/src/build/release
version=$(cat "$build/version.txt")
exe=$work/stage/ombrelo.exe
cp "$build/ombrelo.exe" "$exe"

if [ -n "${OMBRELO_SIGN_CERT:-}" ] && [ -n "${OMBRELO_SIGN_KEY:-}" ]; then
  sign() {
    osslsigncode sign -certs "$OMBRELO_SIGN_CERT" -key "$OMBRELO_SIGN_KEY" \
      ${OMBRELO_SIGN_PASS:+-pass "$OMBRELO_SIGN_PASS"} -n "Ombrelo" -h sha256 \
      -time "$epoch" "$@" -in "$exe" -out "$exe.signed" >/dev/null
  }
  if [ -n "${OMBRELO_TIMESTAMP_URL:-}" ] && sign -ts "$OMBRELO_TIMESTAMP_URL"; then
    echo "release: signed and timestamped"
  else
    [ -n "${OMBRELO_TIMESTAMP_URL:-}" ] && echo "release: timestamp server did not answer"
    sign
    echo "release: signed, without a timestamp"
  fi
  mv "$exe.signed" "$exe"
else
  echo "release: UNSIGNED (no OMBRELO_SIGN_CERT and OMBRELO_SIGN_KEY given)"
fi

# The guide as Windows' Notepad reads it everywhere: UTF-8 with its
# byte-order mark, CR LF line ends.
{
  printf '\xEF\xBB\xBF'
  sed 's/$/\r/' "$build/README.txt"
} >"$work/stage/README.txt"

zip=ombrelo-$version-win32.zip
chmod 644 "$work/stage/ombrelo.exe" "$work/stage/README.txt"
touch -d "@$epoch" "$work/stage/ombrelo.exe" "$work/stage/README.txt"
rm -f "$dist/$zip"
(cd "$work/stage" && TZ=UTC zip -X -D -9 -q "$dist/$zip" ombrelo.exe README.txt)
(cd "$dist" && sha256sum "$zip" >SHA256SUMS)
{
  echo "# What built $zip: the same commit built with these gives the same bytes."
  built_with() { dpkg-query -W -f="$1: \${Package} \${Version}\n" "$2"; }
  built_with compiler g++-mingw-w64-i686-win32
  built_with binutils binutils-mingw-w64-i686
  built_with MinGW-w64 mingw-w64-i686-dev
  built_with cmake cmake
  built_with zip zip
} >"$dist/TOOLCHAIN"
echo "release: $dist/$zip"
sed 's/^/release: /' "$dist/SHA256SUMS"
grep -v '^#' "$dist/TOOLCHAIN" | sed 's/^/release: built with /'
