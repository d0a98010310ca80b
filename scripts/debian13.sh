#!/usr/bin/env bash
# Runs a command of this tree as root in a fresh, minimal Debian 13 system,
# as a new contributor on Debian 13 runs it: by default the test command.
#
#   bash scripts/debian13.sh [command...]
#   bash scripts/debian13.sh --make
#   bash scripts/debian13.sh --made [command...]
#
# The system is made anew each time with debootstrap (variant minbase) from
# the archive this machine's apt uses, in build/debian13, with a copy of
# the tree (without build/ and dist/) in /root/ombrelo; the command installs
# whatever it needs there (deps.sh). It is entered in a private mount
# namespace, with /proc, /dev and /sys mounted for the command's length
# only. It is entered with pivot_root rather than chroot, because a
# chrooted process may not make the user namespace in which the 32-bit
# route runs Wine under qemu (i386-route.sh). The system is removed when
# the command passes and kept, to look into, when it fails. Variables
# named OMBRELO_*, and CI, reach the command.
#
# --make only makes the system and installs the test command's packages in
# it, and keeps it; --made runs the command in the system --make left (with
# a fresh copy of the tree), so that the making, mostly a wait on the
# network, can go on while something else runs (CI's first leg).
set -euo pipefail
cd "$(dirname "$0")/.."
phase=all
case "${1:-}" in
  --make) phase=make && shift ;;
  --made) phase=made && shift ;;
esac
[ $# -gt 0 ] || set -- bash scripts/test.sh
[ $phase = made ] || bash scripts/deps.sh debian13
source scripts/apt-archive.sh
root=$PWD/build/debian13
made=$root/root/.ombrelo-made  # written once --make has installed the packages

# Never delete through a mount: what is left of a run that did not end is
# removed only when nothing is mounted under it, and never across a
# filesystem boundary.
remove_system() {
  if findmnt -rn -o TARGET | awk -v r="$root" 'index($0, r) == 1 { found = 1 } END { exit !found }'; then
    echo "debian13: something is mounted under $root; not removing it" >&2
    exit 1
  fi
  rm -rf --one-file-system "$root"
}
start=$SECONDS
copy_tree() {
  rm -rf "$root/root/ombrelo"
  mkdir -p "$root/root/ombrelo"
  tar -c --exclude=./build --exclude=./dist . | tar -x -C "$root/root/ombrelo"
}
if [ $phase = made ]; then
  [ -e "$made" ] || { echo "debian13: no system made by --make in $root" >&2; exit 1; }
  copy_tree
else
  [ ! -e "$root" ] || remove_system
  host=$(. /etc/os-release && echo "$VERSION_CODENAME")
  debian_archive "$host" ||
    { echo "debian13: no Debian source for $host in this machine's apt sources" >&2; exit 1; }
  echo "debian13: making a minimal Debian 13 system from $archive_uri in $root"
  mkdir -p "$root"
  debootstrap --variant=minbase ${archive_keyring:+--keyring="$archive_keyring"} trixie "$root" \
    "$archive_uri" >"$root.log" 2>&1 || { tail -20 "$root.log"; exit 1; }
  echo "debian13: made in $((SECONDS - start)) s: Debian $(cat "$root/etc/debian_version")"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  copy_tree
fi

# Only this run's settings cross over, not this machine's paths and tools.
env=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
     TERM="${TERM:-dumb}" ${CI:+CI="$CI"})
while IFS= read -r var; do env+=("$var"); done < <(env | grep '^OMBRELO_' || true)

# Runs its arguments in the system, as root there.
inside() {
  unshare --mount --propagation private bash -c '
  set -e
  root=$1
  shift
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount -t sysfs sysfs "$root/sys"
  mkdir -p "$root/.host"
  cd "$root"
  pivot_root . .host
  umount -l /.host
  rmdir /.host
  cd /root/ombrelo
  status=0
  env -i "$@" || status=$?
  cd /
  umount -R -l /sys /dev /proc || true
  exit $status' bash "$root" "${env[@]}" "$@"
}
status=0
if [ $phase = make ]; then
  inside bash scripts/deps.sh || status=$?
  [ $status -ne 0 ] || touch "$made"
else
  inside "$@" || status=$?
fi
echo "debian13: $((SECONDS - start)) s in all; $(du -sm "$root/var/cache/apt/archives" | cut -f1) MB" \
  "of packages downloaded"
[ $phase != make ] || [ $status -ne 0 ] || exit 0

if [ $status -eq 0 ]; then
  remove_system
  rm -f "$root.log"
else
  echo "debian13: the $([ $phase = make ] && echo "packages' install" || echo command) failed" \
    "($status); the system is kept in $root" >&2
fi
exit $status
