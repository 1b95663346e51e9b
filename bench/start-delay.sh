#!/usr/bin/env bash
# How soon each of the wizard's utterances is heard after he was asked to say
# it, and how far after its sound his words end ("ended"), on real PulseAudio
# and PipeWire servers: idle, with every core kept busy, and busy with as many
# sound rows at once as ./scripts/test runs.
# The sound test's rows measure it; this runs them and sums up.
# Run from the project folder after ./scripts/test:  bench/start-delay.sh [BUILD]
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
busy=()
cleanup() {
  for p in "${busy[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY PULSE_SERVER DBUS_SESSION_BUS_ADDRESS

# measure WHAT EVENT... : one steady and one row per event on each server, all at once.
measure() {
  local what=$1 server event pids=()
  shift
  for server in PulseAudio PipeWire; do
    for event in steady "$@"; do
      "$build/tests/sound/test_heard" "eachUtteranceIsHeardInFullOnTimeOrShownForAsLong:$server, $event" \
        >"$work/$server-$event.log" 2>&1 &
      pids+=($!)
    done
  done
  for p in "${pids[@]}"; do wait "$p" || true; done
  for server in PulseAudio PipeWire; do
    for figure in "start delay" "ended"; do
      cat "$work/$server"-*.log | sed -n "s/.*$figure \(-\{0,1\}[0-9]*\) ms.*/\1/p" | sort -n |
        awk -v what="$server, $what: $figure" '{ d[NR] = $1 } END {
          if (NR == 0) { print what ": nothing heard"; exit }
          printf "%s median %d ms, least %d ms, largest %d ms, of %d utterances\n", what, d[int((NR + 1) / 2)], d[1], d[NR], NR }'
    done
    rm -f "$work/$server"-*.log
  done
}

measure "idle, one row per server"
for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  busy+=($!)
done
measure "$(nproc) cores busy, one row per server"
# ./scripts/test runs twice as many sound rows as there are cores.
measure "$(nproc) cores busy, $(( $(nproc) * 2 )) rows at once" "headset plugged in"
