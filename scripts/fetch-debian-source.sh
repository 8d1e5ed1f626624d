#!/usr/bin/env bash
# Fetches the upstream source tarball of a Debian source package from the distribution's source
# archive into a folder under build/ (never committed). The PNG conformance images in libpng's
# tarball test the loader; the Windows build compiles libpng and libsndfile from their tarballs.
#
# Usage: fetch-debian-source.sh SOURCE_PACKAGE DEST_DIR [INSTALLED_PACKAGE]
#   e.g. fetch-debian-source.sh libpng1.6 build/libpng-source libpng-dev
# Prints the tarball's path on success. Exit status 0 when the tarball is there, 2 when the
# archive cannot be reached or offers no source for the wanted release, 1 on any other failure.
# Every failure ends with one line on stderr that says why.
#
# With INSTALLED_PACKAGE the tarball must be the source of that installed package's upstream
# release (the conformance images must match the libpng the build links); without it, whatever
# release the archive offers is taken. The tarball is trusted the way apt trusts it: apt checks
# the source index against the archive's signed release file and the downloaded files against the
# index; the script then checks the tarball against the sha256 in the verified .dsc.
#
# The archive's address comes from this machine's own apt configuration; a private source list
# holding only a deb-src line for the main suite (the security suite has no source files there)
# is used with private list and cache folders, so the system's apt state is left alone.
set -euo pipefail

usage="usage: fetch-debian-source.sh SOURCE_PACKAGE DEST_DIR [INSTALLED_PACKAGE]"
package=${1:?$usage}
dest=${2:?$usage}
installed_package=${3:-}

fail() {
  echo "fetch-debian-source: $2" >&2
  exit "$1"
}

# The upstream version of the installed package: "1:1.6.39-2+deb12u4" -> "1.6.39".
upstream=""
if [ -n "$installed_package" ]; then
  installed=$(dpkg-query -W -f='${Version}' "$installed_package" 2>/dev/null) ||
    fail 1 "$installed_package is not installed"
  upstream=${installed#*:}
  upstream=${upstream%-*}
fi
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
stamp="$dest/verified-$package${upstream:+-$upstream}"

# A tarball verified by an earlier run is named in its stamp file.
if [ -f "$stamp" ] && tarball=$(cat "$stamp") && [ -f "$tarball" ]; then
  echo "$tarball"
  exit 0
fi

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || fail 1 "cannot tell the distribution's suite"

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
[ -n "$uri" ] || fail 2 "no archive for suite $codename in the apt configuration"

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
  fail 2 "the source archive cannot be reached"
fi
(cd "$work" && apt-get "${apt_opts[@]}" -qq source --download-only "$package" >"$work/source.log" 2>&1) || {
  cat "$work/source.log" >&2
  fail 2 "downloading the $package source failed"
}

# The archive may carry a newer packaging of the same release; only the upstream release matters.
dsc=$(ls "$work/${package}"_*.dsc 2>/dev/null | head -n 1)
[ -n "$dsc" ] || fail 1 "the source package has no .dsc"
offered=$(awk '/^Version:/ { print $2; exit }' "$dsc")
offered=${offered#*:}
offered=${offered%-*}
[ -z "$upstream" ] || [ "$offered" = "$upstream" ] ||
  fail 2 "the archive offers $package $offered but the installed $installed_package is $upstream"

tarball_name=$(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
  on && $3 ~ /\.orig\.tar\./ { print $3; exit }' "$dsc")
expected=$(awk -v f="$tarball_name" '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
  on && $3 == f { print $1; exit }' "$dsc")
[ -n "$tarball_name" ] && [ -f "$work/$tarball_name" ] || fail 1 "no upstream tarball in the source package"
[ "$(sha256sum "$work/$tarball_name" | cut -d' ' -f1)" = "$expected" ] ||
  fail 1 "$tarball_name does not match the sha256 in $(basename "$dsc")"

mv "$work/$tarball_name" "$dest/$tarball_name"
echo "$dest/$tarball_name" >"$stamp"
echo "$dest/$tarball_name"
