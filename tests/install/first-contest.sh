#!/bin/bash
# Starts an installed program on an X server of its own and goes through a
# pupil's shortest contest with the keyboard: the name box, the greeting, the
# main window, Alt+X, the boxes that say goodbye. Passes when the program ends
# with status 0 and its voice came from the installed module.
#
#   first-contest.sh PROGRAM
# The X server is the one DECALUMO_TEST_DISPLAY names (./scripts/test starts
# one), or else a private Xvfb; never the caller's own screen.
set -uo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
data=$(mktemp -d)
xvfb=
trap 'kill $xvfb 2>/dev/null; rm -rf "$data"' EXIT

if [ -n "${DECALUMO_TEST_DISPLAY:-}" ]; then
  export DISPLAY=$DECALUMO_TEST_DISPLAY
elif command -v Xvfb >/dev/null; then
  # -displayfd picks a free display itself, with no race against other servers.
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$data/xvfb.log" 2>&1 &
  xvfb=$!
  read -r -t 20 number <&3 || { cat "$data/xvfb.log" >&2; fail "Xvfb does not start"; }
  export DISPLAY=":$number"
else
  echo "no X server for this run"
  exit 77
fi
export XDG_DATA_HOME=$data
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# A session bus of its own: one the program had to launch would outlive the test
# and leave its accessibility bus named on the shared X server for the next test.
dbus-run-session -- "$program" 2> >(tee "$data/stderr" >&2) &
pid=$!
trap 'kill $pid $xvfb 2>/dev/null; rm -rf "$data"' EXIT

# Polls CMD every 0.1 s for up to $2 seconds until it prints something.
wait_for() {
  local what=$1 seconds=$2 out
  shift 2
  for _ in $(seq $((seconds * 10))); do
    out=$("$@" 2>/dev/null | head -n1)
    [ -n "$out" ] && { echo "$out"; return 0; }
    kill -0 $pid 2>/dev/null || fail "the program ended while waiting for $what"
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

boxes() { xdotool search --onlyvisible --name '^Decalumo$' 2>/dev/null; }
main_window() { xdotool search --onlyvisible --name 'DECALUMO$'; }
seen=""
new_box() { boxes | grep -vxF -e "${seen:-none}"; }

# Types TEXT into the next box, presses Enter, and sees the box go. A box that
# had not yet taken the keyboard when the keys came gets Enter again.
answer_box() {
  local box
  box=$(wait_for "$2" 20 new_box) || exit 1
  seen="$seen"$'\n'"$box"
  xdotool windowfocus --sync "$box"
  [ -n "$1" ] && xdotool type --delay 30 "$1"
  for _ in 1 2 3 4; do
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
    for _ in $(seq 30); do
      boxes | grep -qxF "$box" || { echo "ok: $2"; return 0; }
      sleep 0.1
    done
  done
  fail "$2 does not close"
}

answer_box Luca "the box asking the name"
answer_box "" "the greeting"
window=$(wait_for "the main window" 20 main_window) || exit 1
echo "ok: the main window"
xdotool windowfocus --sync "$window"
xdotool key alt+x
answer_box "" "the goodbye"

# A new record, if the contest made one, has a box of its own.
for _ in $(seq 150); do
  kill -0 $pid 2>/dev/null || break
  box=$(new_box | head -n1)
  [ -n "$box" ] && answer_box "" "the new record"
  sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "the program is still running"
wait $pid
status=$?
[ $status -eq 0 ] || fail "exit status $status"
echo "ok: exit status 0"
# The wizard speaks once the greeting is closed: by then the module is loaded.
grep -q "modulo" "$data/stderr" && fail "the installed program does not find its voice module"
echo "ok: the voice module"
