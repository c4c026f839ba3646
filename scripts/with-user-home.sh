#!/usr/bin/env bash
# Runs a command (make test, say) with HOME in a folder of its own that holds
# a user's own settings, and checks that the command left them alone:
#
#     bash scripts/with-user-home.sh make test
#
# The home holds what a desktop user's has: Qt's file-dialog settings (the
# list view, a last folder, a side-bar width, shortcuts), openbox's log, an
# XDG user-dirs.dirs that names a Chinese desktop folder holding a file, and
# an icon under ~/.local/share. The per-user XDG variables (XDG_*_HOME and any
# XDG_*_DIR) are unset, so that they default into that home. Afterwards every
# entry's path, type, mode and content hash is compared with what was there
# before: what changed, went or appeared is printed and the exit status is 1;
# otherwise it is the command's. The home is removed at the end.
#
# TMPDIR is an empty folder of the command's own, and must be empty again at
# its end but for Qt's runtime folder (runtime-<user>, made there when
# XDG_RUNTIME_DIR is unset): whatever else is left there is printed, and the
# exit status is 1.
set -u
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-user-home.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
home=$work/home
tmp=$work/tmp
mkdir "$tmp" || exit 1

mkdir -p "$home/.config" "$home/.cache/openbox" "$home/.local/share/icons" "$home/桌面" "$home/文档/报价"
cat >"$home/.config/QtProject.conf" <<EOF
[FileDialog]
history=file://$home/文档, file://$home/文档/报价
lastVisited=file://$home/文档/报价
qtVersion=6.4.2
shortcuts=file:, file://$home, file://$home/桌面
sidebarWidth=321
viewMode=List
EOF
cat >"$home/.config/user-dirs.dirs" <<'EOF'
# This file is written by xdg-user-dirs-update
XDG_DESKTOP_DIR="$HOME/桌面"
XDG_DOCUMENTS_DIR="$HOME/文档"
EOF
printf 'Openbox-Message: the user'"'"'s own session\n' >"$home/.cache/openbox/openbox.log"
printf '客户名单\n' >"$home/桌面/客户.txt"
printf 'not a real icon\n' >"$home/.local/share/icons/tarvel-old.png"
chmod 600 "$home/.config/QtProject.conf"
cp "$home/.config/QtProject.conf" "$work/QtProject.conf"

# Every entry (type, mode, path, a link's target), then every file's hash.
listing() {
  (cd "$home" &&
    find . -mindepth 1 \( -type l -printf '%y %m %p -> %l\n' \) -o -printf '%y %m %p\n' | LC_ALL=C sort &&
    find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum)
}
listing >"$work/before"

unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME
for v in $(env | sed -n 's/^\(XDG_[A-Za-z0-9_]*_DIR\)=.*/\1/p'); do
  [ "$v" = XDG_RUNTIME_DIR ] || unset "$v"
done
HOME=$home TMPDIR=$tmp "$@"
rc=$?

left=$(cd "$tmp" && find . -mindepth 1 -maxdepth 1 ! -name "runtime-$(id -un)" -exec find {} -maxdepth 4 \; | LC_ALL=C sort)
if [ -n "$left" ]; then
  echo "with-user-home: the command left these in its temporary folder ($tmp):" >&2
  printf '%s\n' "$left" | sed 's/^/    /' >&2
  rc=1
fi

listing >"$work/after"
if ! cmp -s "$work/before" "$work/after"; then
  echo "with-user-home: the command changed the user's home ($home; - before, + after):" >&2
  diff "$work/before" "$work/after" | sed -n 's/^< /- /p; s/^> /+ /p' >&2
  if ! cmp -s "$work/QtProject.conf" "$home/.config/QtProject.conf"; then
    echo "with-user-home: QtProject.conf was:" >&2
    sed 's/^/    /' "$work/QtProject.conf" >&2
    echo "with-user-home: and now reads:" >&2
    sed 's/^/    /' "$home/.config/QtProject.conf" >&2
  fi
  exit 1
fi
exit $rc
