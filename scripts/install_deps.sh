#!/usr/bin/env bash
# Installs the Debian packages of the lists named (packages/NAME.txt, one package
# a line) that are missing, for instance `install_deps.sh compiler tool`. A
# package counts as present when an installed package provides it, as the
# Node.js build that brings its own npm does. As root it runs apt-get;
# otherwise it prints the command to run and fails.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
  echo "usage: install_deps.sh LIST... (the lists of $here/packages: $(cd "$here/packages" && ls *.txt | sed 's/\.txt$//' | tr '\n' ' '))" >&2
  exit 64
fi
lists=()
for name in "$@"; do
  list="$here/packages/$name.txt"
  [ -f "$list" ] || { echo "install_deps.sh: no package list $list" >&2; exit 64; }
  lists+=("$list")
done
provided=$(dpkg-query -W -f='${db:Status-Abbrev} ${Provides}\n' 2>/dev/null | awk '$1 == "ii" { $1 = ""; print }' |
  tr ',' '\n' | sed 's/([^)]*)//g; s/^ *//; s/ *$//')
missing=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  case " ${missing[*]} " in *" $pkg "*) continue ;; esac
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' &&
     ! grep -qxF "$pkg" <<<"$provided"; then
    missing+=("$pkg")
  fi
done < <(cat "${lists[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
else
  echo "Missing packages. Run: sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
