#!/usr/bin/env bash
# Fetches libpng's source tarball from the distribution's source archive into a folder under
# build/ (never committed). The PNG conformance images in contrib/pngsuite test the loader, and
# the Windows build compiles libpng from the same tarball.
#
# Usage: fetch-libpng-source.sh DEST_DIR
# Prints the tarball's path on success. Exit status 0 when the tarball is there and its checksum
# matches, 2 when the archive cannot be reached, 1 on any other failure.
#
# The archive's address comes from this machine's own apt configuration; a private source list
# holding only a deb-src line for the main suite (the security suite has no source files there)
# is used with private list and cache folders, so the system's apt state is left alone.
set -euo pipefail

dest=${1:?usage: fetch-libpng-source.sh DEST_DIR}
tarball_name=libpng1.6_1.6.39.orig.tar.gz
expected_sha256=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
tarball="$dest/$tarball_name"

checksum_ok() {
  [ -f "$1" ] && [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$expected_sha256" ]
}

if checksum_ok "$tarball"; then
  echo "$tarball"
  exit 0
fi

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -z "$codename" ]; then
  echo "fetch-libpng-source: cannot tell the distribution's suite" >&2
  exit 1
fi

# The first archive address that serves the main suite, with the key it is signed with. Both
# the one-line format (sources.list) and the deb822 format (*.sources) are read.
uri=""
keyring=""
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  line=$(grep -E "^[[:space:]]*deb(-src)?[[:space:]]" "$f" | grep -E "[[:space:]]$codename[[:space:]]" |
    head -n 1 || true)
  if [ -n "$line" ]; then
    uri=$(echo "$line" | sed -E 's/\[[^]]*\]//' | awk '{print $2}')
    keyring=$(echo "$line" | grep -oE 'signed-by=[^] ]+' | cut -d= -f2 || true)
    break
  fi
done
if [ -z "$uri" ]; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # Paragraphs are separated by blank lines; take the one whose Suites has the bare codename.
    found=$(awk -v suite="$codename" '
      BEGIN { RS = ""; FS = "\n" }
      {
        uris = ""; suites = ""; key = ""
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
          if ($i ~ /^Suites:/) { suites = " " $i " "; sub(/^ Suites:/, " ", suites) }
          if ($i ~ /^Signed-By:/) { key = $i; sub(/^Signed-By:[ \t]*/, "", key) }
        }
        if (index(suites, " " suite " ") > 0 && uris != "") {
          split(uris, u, " "); print u[1] " " key; exit
        }
      }' "$f")
    if [ -n "$found" ]; then
      uri=${found%% *}
      keyring=${found#* }
      [ "$keyring" = "$found" ] && keyring=""
      break
    fi
  done
fi
if [ -z "$uri" ]; then
  echo "fetch-libpng-source: no archive for suite $codename in the apt configuration" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
options=""
[ -n "$keyring" ] && [ -f "$keyring" ] && options="[signed-by=$keyring] "
echo "deb-src ${options}$uri $codename main" > "$work/sources.list"
apt_opts=(
  -o "Dir::Etc::SourceList=$work/sources.list"
  -o "Dir::Etc::SourceParts=/dev/null"
  -o "Dir::State::Lists=$work/lists"
  -o "Dir::Cache=$work/cache"
  -o "Debug::NoLocking=1"
  -o "Acquire::Retries=2"
)
if ! apt-get "${apt_opts[@]}" -qq update >"$work/update.log" 2>&1 ||
  grep -qE '^(E:|Err:)' "$work/update.log"; then
  cat "$work/update.log" >&2
  echo "fetch-libpng-source: the source archive cannot be reached" >&2
  exit 2
fi
(cd "$work" && apt-get "${apt_opts[@]}" -qq source --download-only libpng1.6 >"$work/source.log" 2>&1) || {
  cat "$work/source.log" >&2
  echo "fetch-libpng-source: downloading the libpng source failed" >&2
  exit 2
}
if ! checksum_ok "$work/$tarball_name"; then
  echo "fetch-libpng-source: $tarball_name missing or its checksum does not match" >&2
  exit 1
fi
mv "$work/$tarball_name" "$tarball"
echo "$tarball"
