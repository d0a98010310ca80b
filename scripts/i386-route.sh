# Sourced by the test and run commands from the project's folder, after
# deps.sh, with the command's own full path and its arguments: makes 32-bit
# Windows programs runnable here. Where the kernel runs 32-bit processes nothing happens.
# Elsewhere the command re-enters itself in a private user and mount
# namespace where binfmt_misc hands i386 ELF files to qemu-i386, so 32-bit
# Wine runs the i686 build under emulation; outside that namespace the
# machine still runs no 32-bit process. Where the namespace cannot be made (a
# kernel before 6.7, no user namespaces) the command goes on, and
# wine-arch.sh falls back to the x86_64 build. OMBRELO_I386=qemu takes the
# emulated route even where 32-bit runs natively.

ombrelo_i386_native() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

if [ -z "${OMBRELO_I386_NS:-}" ] &&
  { [ "${OMBRELO_I386:-auto}" = qemu ] || ! ombrelo_i386_native; }; then
  qemu=$(command -v qemu-i386 || true)
  # The magic and mask of an i386 ELF executable or shared object, as qemu's
  # own binfmt table has them; F opens qemu now, so the namespace needs no
  # access to it later.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  enter='mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
    printf "%s" ":ombrelo-i386:M::$1:$2:$3:F" >/proc/sys/fs/binfmt_misc/register &&
    /lib/ld-linux.so.2 --version >/dev/null 2>&1'
  if [ -n "$qemu" ] &&
    unshare --user --map-root-user --mount --propagation private \
      sh -c "$enter" sh "$magic" "$mask" "$qemu" 2>/dev/null; then
    echo "32-bit route: i386 under $("$qemu" --version | head -1) in a private namespace"
    export OMBRELO_I386_NS=1
    exec unshare --user --map-root-user --mount --propagation private \
      sh -c "$enter"' && shift 3 && exec "$@"' sh "$magic" "$mask" "$qemu" bash "$@"
  elif ! ombrelo_i386_native; then
    echo "32-bit route: unavailable (no qemu-i386, or no binfmt_misc in a user namespace);" \
      "the Windows suites run the x86_64 build"
  fi
  unset qemu magic mask enter
fi
