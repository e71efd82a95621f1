#!/usr/bin/env bash
# Fetches and unpacks the Debian source of a binary package at the version
# installed here, so that the browser build compiles the very library the
# desktop build links: debian-source.sh PACKAGE DEST prints the unpacked
# folder (DEST/SOURCE-VERSION), fetched once. apt reads the source index
# into a folder of its own, from the machine's own Debian entries turned into
# deb-src ones; the system's apt configuration is left as it is.
set -euo pipefail
package="$1" dest="$2"
read -r source version < <(dpkg-query -W -f='${source:Package} ${source:Version}\n' "$package")
folder="$dest/$source-$version"
if [ ! -f "$folder/.unpacked" ]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/unpack"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$work/parts/$(basename "$f")"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] && sed -n 's/^deb /deb-src /p' "$f" >"$work/parts/$(basename "$f").list"
  done
  apt=(apt-get -qq -o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/parts"
       -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o "APT::Sandbox::User=$(id -un)")
  "${apt[@]}" update
  (cd "$work/unpack" && "${apt[@]}" source "$source=$version" >/dev/null)
  unpacked="$(find "$work/unpack" -mindepth 1 -maxdepth 1 -type d)"
  rm -rf "$folder" && mkdir -p "$dest" && mv "$unpacked" "$folder" && touch "$folder/.unpacked"
fi
echo "$folder"
