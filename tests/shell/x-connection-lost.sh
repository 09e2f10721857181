#!/usr/bin/env bash
# Run through run-on-x.sh: the X server goes away under the running program (a desktop
# session that ends hard). The program must end by itself within seconds, killed by no
# signal, with no closing screen waiting for an answer.
set -u
prog=$1
xpid=$(tr -d ' ' < "/tmp/.X${DISPLAY#:}-lock")
home=$(mktemp -d)
trap '[ -n "${ppid:-}" ] && kill -9 "$ppid" 2>/dev/null; rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home TMPDIR=$home "$prog" tl >"$home/out" 2>&1 &
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
