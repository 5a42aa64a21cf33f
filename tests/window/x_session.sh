#!/bin/sh
# Runs PROGRAM [ARGS...] as on a desktop: on a private X server (Xvfb, through
# xvfb-run with an authority file of its own) under a small window manager,
# which activates, focuses and stacks the windows as a desktop does.
if [ -z "${KARTOLA_X_SESSION:-}" ]; then
    export KARTOLA_X_SESSION=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" sh "$0" "$@"
fi
ready=$(mktemp -u)
openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
wm=$!
tries=0
while [ ! -e "$ready" ] && [ "$tries" -lt 200 ]; do
    sleep 0.05
    tries=$((tries + 1))
done
rm -f "$ready"
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$status"
