#!/bin/sh
# Runs a command on an X server of its own (xvfb-run -a, with the options
# given first) and exits with the command's status. The X authority file
# lives in a folder this script makes and removes: xvfb-run's own clean-up
# of its folder can fail, and it then exits with its own status instead of
# the command's.
#
# The folder holds the command's home too (HOME and the XDG folders, any XDG
# user-dirs override unset), which a window manager started by the command
# (openbox, its log) and the test program (TARVEL_TEST_HOME: it keeps this
# one instead of making its own; see platform/win32/main/testmain.cpp) share,
# so that the user's own settings neither change nor count.
dir=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-xvfb.XXXXXX") || exit 1
home=$dir/home
mkdir "$home" || { rm -rf "$dir"; exit 1; }
for v in $(env | sed -n 's/^\(XDG_[A-Za-z0-9_]*_DIR\)=.*/\1/p'); do
  [ "$v" = XDG_RUNTIME_DIR ] || unset "$v"
done
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
  XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" TARVEL_TEST_HOME="$home"
xvfb-run -a -f "$dir/Xauthority" "$@"
rc=$?
# Processes of this home may outlive the command: a window manager's bus
# services (KWin's shortcuts, xfwm4's settings) end once their bus has gone,
# writing their settings into the home as they end. They are ended and waited
# for, so that the folder removed stays removed.
of_this_home() {
  for p in /proc/[0-9]*; do
    grep -qzx "TARVEL_TEST_HOME=$home" "$p/environ" 2>/dev/null && echo "${p#/proc/}"
  done
}
tries=0
pids=$(of_this_home)
while [ -n "$pids" ] && [ $tries -lt 100 ]; do
  kill $pids 2>/dev/null
  tries=$((tries + 1))
  sleep 0.1
  pids=$(of_this_home)
done
rm -rf "$dir"
exit $rc
