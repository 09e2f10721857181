#!/usr/bin/env bash
# Run through run-on-x.sh inside dbus-run-session: the accessibility bus, the program in
# its test-run mode with a fresh home (in the low-vision look at 150 % with "lowvision"
# after the program), and the walk of atspi-walk.py over it.
set -u
prog=$1
home=$(mktemp -d)
if [ "${2:-}" = lowvision ]; then
    mkdir -p "$home/Tannwald"
    printf '[Ansicht]\nSehhilfe=true\nSchriftgroesse=150\n' >"$home/Tannwald/GripsFix.conf"
fi
trap '[ -n "${ppid:-}" ] && kill "$ppid" 2>/dev/null; [ -n "${bpid:-}" ] && kill "$bpid" 2>/dev/null; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home TMPDIR=$home QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bpid=$!
sleep 1
GRIPSFIX_TL_SCALE=0.05 "$prog" tl >"$home/out" 2>&1 &
ppid=$!
/usr/bin/python3 "$(dirname "$0")/atspi-walk.py"
rc=$?
[ $rc -ne 0 ] && cat "$home/out"
exit $rc
