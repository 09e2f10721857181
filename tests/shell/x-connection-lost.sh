#!/usr/bin/env bash
# The X server goes away under a running program (a desktop session that ends hard): the
# program ends by itself within seconds, killed by no signal, with no closing screen
# waiting for an answer. Exit 77 (skipped) only when no X server can be started.
set -u
prog=$1
for n in $(seq 141 190); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
home=$(mktemp -d)
cleanup() {
    kill "$xpid" 2>/dev/null
    [ -n "${ppid:-}" ] && kill -9 "$ppid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$home"
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
HOME=$home XDG_CONFIG_HOME=$home TMPDIR=$home DISPLAY=$display QT_QPA_PLATFORM=xcb \
    "$prog" tl >"$home/out" 2>&1 &
ppid=$!
sleep 3
if ! kill -0 "$ppid" 2>/dev/null; then
    echo "The program ended before the X server went away:"
    cat "$home/out"
    exit 1
fi
kill "$xpid"
for _ in $(seq 100); do
    kill -0 "$ppid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$ppid" 2>/dev/null; then
    echo "Still running 10 s after the X server went away."
    exit 1
fi
wait "$ppid"
rc=$?
ppid=
if [ "$rc" -ge 128 ]; then
    echo "Ended by signal $((rc - 128)):"
    cat "$home/out"
    exit 1
fi
echo "Ended with status $rc after the X server went away."
