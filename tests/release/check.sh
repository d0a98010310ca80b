#!/usr/bin/env bash
# Checks the release command: two runs from clones in different folders, at
# different times, give the same bytes and name the toolchain that made
# them; the exe is a clean PE (Windows' own DLLs only, no link time, Windows
# 7 subsystem, ASLR, DEP, terminal-server aware, none of winpthread's thread
# control) of at most 192 KB; signing works with a throwaway certificate;
# the exe from the zip passes the end-to-end suite.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "release check: $*" >&2; exit 1; }

# The signed build goes beside the second run: two builds at once take
# less time than one after the other on two cores, and the second run still
# comes a build's length after the first, as "at another time" asks.
release() {  # clone, results, and what runs it (env with the signing's variables)
  (cd "$tmp/clone-$1" && OMBRELO_DIST="$tmp/dist-$2" "${@:3}" bash scripts/release.sh >/dev/null)
}
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Ombrelo test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
for run in first second; do git clone -q "$root" "$tmp/clone-$run"; done
release first first || fail "the first release run failed"
release first signed env OMBRELO_SIGN_CERT="$tmp/cert.pem" OMBRELO_SIGN_KEY="$tmp/key.pem" &
signing=$!
release second second || fail "the second release run failed"
wait $signing || fail "the signed release run failed"
zip=$(cd "$tmp/dist-first" && ls ombrelo-*-win32.zip)
version=$(sed -n 's/^project(ombrelo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$zip" = "ombrelo-$version-win32.zip" ] || fail "zip named $zip, version $version"
for f in "$zip" SHA256SUMS TOOLCHAIN; do
  cmp -s "$tmp/dist-first/$f" "$tmp/dist-second/$f" || fail "$f differs between two runs"
done
(cd "$tmp/dist-first" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
for what in compiler binutils MinGW-w64; do
  grep -Eq "^$what: [^ ]+ [^ ]+$" "$tmp/dist-first/TOOLCHAIN" || fail "TOOLCHAIN names no $what"
done
echo "release check: two runs gave the same bytes ($zip)"

unzip -q "$tmp/dist-first/$zip" -d "$tmp/unzipped"
[ "$(cd "$tmp/unzipped" && ls | tr '\n' ' ')" = "README.txt ombrelo.exe " ] || fail "zip holds $(ls "$tmp/unzipped")"
exe=$tmp/unzipped/ombrelo.exe
pe=$(objdump -p "$exe")
dlls=$(awk '/DLL Name:/ { print toupper($3) }' <<<"$pe" | sort | tr '\n' ' ')
[ "$dlls" = "COMCTL32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] || fail "imports $dlls"
grep -Eq '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970' <<<"$pe" || fail "a link time in the header"
grep -Eq '^MajorSubsystemVersion[[:space:]]+6$' <<<"$pe" && grep -Eq '^MinorSubsystemVersion[[:space:]]+1$' <<<"$pe" ||
  fail "subsystem version is not 6.1"
for flag in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
  grep -q "$flag" <<<"$pe" || fail "no $flag"
done
for fn in SuspendThread ResumeThread GetThreadContext CreateThread; do
  ! grep -Eq "[[:space:]]$fn$" <<<"$pe" || fail "imports $fn (a threading runtime)"
done
grep -q "$version" "$tmp/unzipped/README.txt" || fail "the guide lacks the version"
head -c 3 "$tmp/unzipped/README.txt" | cmp -s - <(printf '\xEF\xBB\xBF') || fail "the guide has no byte-order mark"
strings -el "$exe" | grep -qx "$version" || fail "the version resource lacks $version"
! grep -aq "$root\|$tmp" "$exe" || fail "a build folder in the exe"
grep -aq '<dpiAwareness [^>]*>PerMonitorV2, System<' "$exe" ||
  fail "the manifest does not declare each window's own scale"
size=$(stat -c %s "$exe")
[ "$size" -le $((192 * 1024)) ] || fail "the exe is $size bytes, over 192 KB"
# Each replacement in src/app/runtime.cpp keeps a part of the C++ runtime
# out; where a toolchain stops taking one, that part comes back, and its
# text says which.
for part in "  what():  |the library's terminate handler, with the demangler" \
  "basic_string::_S_construct null not valid|the library's exception throwers, with the old string" \
  "basic_string::copy|the library's whole string instantiations (g++ 13 and later)"; do
  ! grep -aqF -- "${part%%|*}" "$exe" || fail "the exe holds ${part#*|} (see src/app/runtime.cpp)"
done
echo "release check: the exe is a clean PE of $size bytes"

unzip -q "$tmp/dist-signed/$zip" -d "$tmp/signed"
osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/signed/ombrelo.exe" >"$tmp/verify.log" 2>&1 ||
  { cat "$tmp/verify.log"; fail "the signature does not verify"; }
echo "release check: signed with a throwaway certificate, and verified"

# The exe from the zip through the end-to-end suite. Where 32-bit processes
# cannot run, the nearest that can: the same sources with the release's
# thread model and link options, built for x86_64.
source scripts/wine-arch.sh
if [ "$OMBRELO_PRESET" != windows ]; then
  echo "release check: no 32-bit route on this machine; the end-to-end suite runs the" \
    "release build for x86_64 instead of the zip's exe"
  cmake -S . -B build/release64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DOMBRELO_THREAD_MODEL=win32 -DCMAKE_BUILD_TYPE=MinSizeRel -DOMBRELO_TESTS=OFF >/dev/null
  cmake --build build/release64 -j 2 >/dev/null
  exe=$root/build/release64/ombrelo.exe
fi
export OMBRELO_DISPLAY=${OMBRELO_DISPLAY:-${DISPLAY:-}}  # the test command's display, if any
source scripts/wine-env.sh
trap 'ombrelo_cleanup; rm -rf "$tmp"' EXIT
OMBRELO_EXE="Z:${exe//\//\\}" ctest --preset "$OMBRELO_PRESET" -R '^e2e_tests'
ombrelo_tested "$exe"
