#!/bin/sh
# wm.sh NAME COMMAND...: runs the command under a window manager on the X
# server of DISPLAY (a test's own, see xvfb.sh) and exits with its status.
# NAME is openbox, kwin (KDE Plasma's, without its compositor) or xfwm4
# (Xfce's). The command starts once the manager has taken the display (its
# check window on the root names it), with TARVEL_WINDOW_MANAGER=NAME, and
# the manager ends with it. KWin and xfwm4 run on a D-Bus session bus of
# their own, as on their desktops, which ends with them.
name=$1
shift
# The manager and the services its bus starts (KWin's shortcuts) are X
# clients, which end with the X server, whatever platform the tests run on.
export QT_QPA_PLATFORM=xcb
if [ "$name" != openbox ] && [ -z "${TARVEL_WM_BUS:-}" ]; then
  TARVEL_WM_BUS=1 exec dbus-run-session -- "$0" "$name" "$@"
fi
export NO_AT_BRIDGE=1  # GTK (xfwm4) starts no accessibility bus
case $name in
  openbox) openbox --sm-disable & ;;
  kwin) KWIN_COMPOSE=N kwin_x11 & ;;
  xfwm4) xfwm4 --compositor=off --sm-client-disable & ;;
  *) echo "wm.sh: no window manager $name" >&2; exit 2 ;;
esac
wm=$!
tries=0
until wmctrl -m >/dev/null 2>&1; do
  tries=$((tries + 1))
  if [ $tries -gt 300 ] || ! kill -0 $wm 2>/dev/null; then
    echo "wm.sh: $name has not taken the display" >&2
    kill $wm 2>/dev/null
    exit 1
  fi
  sleep 0.1
done
TARVEL_WINDOW_MANAGER=$name "$@"
rc=$?
kill $wm
wait $wm
exit $rc
