#!/usr/bin/env bash
# CI: the program installed as a desktop program. Installs it into a DESTDIR
# (make install), validates its menu entry and AppStream file, and runs the
# installed program on Xvfb for two new accounts (one with XDG_DATA_HOME set,
# one without): each starts at the first-run wizard with its own database
# (mode 600, in a folder of mode 700, in its data folder), the program draws
# from the installed song.ttf, and the installed tree is unchanged (every
# entry's path, mode and content hash). Then makes the Debian package and runs
# lintian on it: an error fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# On the X server of tests/support/xvfb.sh: the installed program run for one
# account (its HOME and XDG_DATA_HOME, empty for unset) until its first
# window, the wizard's, shows.
if [ "${1:-}" = --run-as ]; then
  program=$2 log=$3
  # The runtime folder in the home too: Qt makes one in /tmp without it.
  export HOME=$4 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$4/.run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  if [ -n "$5" ]; then export XDG_DATA_HOME=$5; else unset XDG_DATA_HOME; fi
  "$program" >"$log" 2>&1 &
  pid=$!
  timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^软件说明$' >/dev/null ||
    { echo "install-check: the wizard did not show" >&2; cat "$log" >&2; kill "$pid"; exit 1; }
  grep -q "${program%/bin/*}/share/tarvel/song.ttf" "/proc/$pid/maps" ||
    { echo "install-check: the installed song.ttf is not used" >&2; kill "$pid"; exit 1; }
  kill "$pid"
  wait "$pid" || true
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root
make install DESTDIR="$root" PREFIX=/usr >/dev/null
desktop-file-validate "$root/usr/share/applications/cn.tarvel.saleslogs.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/cn.tarvel.saleslogs.metainfo.xml"

listing() {
  (cd "$root" && find . -printf '%p %M %U:%G %s\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
listing >"$work/before"
for account in one two; do
  home=$work/$account
  mkdir "$home"
  if [ $account = one ]; then data=$home/.local/share xdg=; else data=$home/data xdg=$home/data; fi
  bash tests/support/xvfb.sh bash "$0" --run-as "$root/usr/bin/tarvel" "$work/$account.log" "$home" "$xdg"
  db=$data/tarvel/mydata.tvd
  [ "$(stat -c %a "$db")" = 600 ] && [ "$(stat -c %a "$data/tarvel")" = 700 ] ||
    { echo "install-check: $db not 600 in a folder of 700" >&2; ls -la "$data/tarvel" >&2; exit 1; }
done
cmp -s "$work/one/.local/share/tarvel/mydata.tvd" "$root/usr/share/tarvel/mydata.tvd" ||
  { echo "install-check: an account's database is not the pristine copy" >&2; exit 1; }
listing | diff "$work/before" - || { echo "install-check: the installed tree changed" >&2; exit 1; }

make package >/dev/null
lintian --fail-on error build/tarvel_*.deb
echo "install-check: installed, two accounts started at the wizard, the package passes lintian"
