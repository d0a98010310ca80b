# Sourced: where this machine's apt reaches Debian's archive, read from its
# own sources, so that no mirror is written in the project. debian_archive
# CODE sets archive_uri, and archive_keyring where the source names one,
# from the first "deb" source of suite CODE: in the deb822 .sources files,
# else in the one-line sources.list. It fails where there is none.
debian_archive() {
  local code=$1 f found line
  found=$(
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] || continue
      awk -v code="$code" 'BEGIN { RS = ""; FS = "\n" }
        { types = uris = suites = signed = ""
          for (i = 1; i <= NF; i++) {
            if ($i ~ /^Types:/) types = $i; if ($i ~ /^URIs:/) uris = $i
            if ($i ~ /^Suites:/) suites = $i; if ($i ~ /^Signed-By:/) signed = $i
          }
          if (types ~ /deb( |$)/ && (suites " ") ~ (" " code " ")) {
            split(uris, u, /[ \t]+/); sub(/^Signed-By:[ \t]*/, "", signed)
            print u[2] " " signed; exit
          } }' "$f"
    done | head -1
  )
  if [ -z "$found" ]; then
    line=$(awk -v code="$code" '$1 == "deb" && ($0 " ") ~ (" " code " ") { print; exit }' \
      /etc/apt/sources.list 2>/dev/null)
    [ -n "$line" ] || return 1
    found="$(sed 's/\[[^]]*\]//' <<<"$line" | awk '{ print $2 }') $(
      sed -n 's/.*signed-by=\([^] ]*\).*/\1/p' <<<"$line")"
  fi
  archive_uri=${found%% *}
  archive_keyring=${found#* }
  # A key written into the source itself is no file to name again.
  case $archive_keyring in /*) ;; *) archive_keyring= ;; esac
}
