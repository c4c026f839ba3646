#!/bin/sh
# Runs a command on an X server of its own (xvfb-run -a, with the options
# given first) and exits with the command's status. The X authority file
# lives in a folder this script makes and removes: xvfb-run's own clean-up
# of its folder can fail, and it then exits with its own status instead of
# the command's.
dir=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-xvfb.XXXXXX") || exit 1
xvfb-run -a -f "$dir/Xauthority" "$@"
rc=$?
rm -rf "$dir"
exit $rc
