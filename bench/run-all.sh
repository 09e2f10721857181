#!/usr/bin/env bash
# Installs the benchmarks' packages, builds, and runs every benchmark twice: on a quiet
# machine and at a load of two busy processes per core (started and stopped here).
# Prints every table with the scheduling class in force. About 40 minutes.
#   bench/run-all.sh            both runs
#   bench/run-all.sh quiet      only the quiet run
#   bench/run-all.sh load       only the run at load
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
done < <(cat packages.txt bench/packages.txt)
if ((${#missing[@]})); then
    sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
./scripts/build.sh >/dev/null

busy=()
stop_load() {
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
    busy=()
}
trap stop_load EXIT

run() { # label
    echo "== $1: $(date -u '+%F %T') UTC, load average $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "-- onsets in the program and on the X server, answers to injected input"
    GF_ONSET_XSERVER=1 build/bench/onset/bench_onset 2>/dev/null
    echo "-- sound where it is heard"
    build/bench/audio/bench_audio 2>/dev/null
    echo "-- telephone schedule, data files"
    build/bench/sequence/bench_telschedule 2>/dev/null
    build/bench/data/bench_data 2>/dev/null
    echo "-- progress overview"
    build/bench/results/bench_progress 2>/dev/null
}

what=${1:-both}
if [[ $what == both || $what == quiet ]]; then
    run "quiet"
fi
if [[ $what == both || $what == load ]]; then
    for _ in $(seq $((2 * $(nproc)))); do
        yes >/dev/null &
        busy+=($!)
    done
    sleep 5
    run "load: $((2 * $(nproc))) busy processes on $(nproc) cores"
    stop_load
fi
