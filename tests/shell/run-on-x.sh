#!/usr/bin/env bash
# Runs a test program on a virtual X screen of SIZE (e.g. 800x600), with the window
# manager openbox when WM=1. Exit 77 (skipped) only when no X server can be started.
set -u
size=$1 wm=$2
shift 2
for n in $(seq 90 140); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xpid=$!
cleanup() {
    [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null
    kill "$xpid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    kill -0 "$xpid" 2>/dev/null || break
    sleep 0.1
done
if ! kill -0 "$xpid" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X${display#:}" ]; then
    echo "No X server could be started (Xvfb): skipped."
    exit 77
fi
export DISPLAY=$display QT_QPA_PLATFORM=xcb
if [ "$wm" = 1 ]; then
    command -v openbox >/dev/null || { echo "openbox is not installed"; exit 1; }
    openbox >/dev/null 2>&1 &
    wmpid=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
        sleep 0.1
    done
fi
"$@"
