#!/usr/bin/env bash
# The last step of scripts/run where there is no display: the program takes
# the script's process and runs on a private X server. SIGTERM to that
# process must end the program and the X server, and leave no socket of the
# server behind. Before that, the script names the display and the file that
# holds its screen, which shows the program's window.
#
#   run_ends_cleanly.sh SOURCE_DIR PROGRAM
set -euo pipefail
source "$1/scripts/common.sh"
program=$2
unset DISPLAY

# Waits up to a minute for the command to succeed.
within_a_minute() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# The program has replaced the shell and talks to its X server: Qt's X event
# thread is running.
program_is_up() {
  [ "$(readlink "/proc/$pid/exe")" = "$(readlink -f "$program")" ] &&
    grep -qx QXcbEventQueue /proc/"$pid"/task/*/comm 2>/dev/null
}

# A process that has ended, or is only left for its parent to reap.
ended() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
  [ -z "$state" ] || [ "$state" = Z ]
}

said=$(mktemp)
( exec_with_display "$program" 2>"$said" ) &
pid=$!
# Whatever goes wrong, the program goes too: ctest waits for its output.
trap 'kill -KILL "$pid" 2>/dev/null || true; rm -f "$said" "$said.png"' EXIT
within_a_minute program_is_up || { echo "the program did not start on its X server"; exit 1; }
display=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^DISPLAY=://p')
server=$(cat /proc/"$pid"/task/*/children | tr ' ' '\n' | grep -v '^$' | head -n 1)
[ "$(cat "/proc/$server/comm")" = Xvfb ] || { echo "no X server under the program"; exit 1; }
socket=/tmp/.X11-unix/X$display
[ -S "$socket" ] || { echo "display :$display has no socket"; exit 1; }

grep -qF "the program draws into the virtual X server :$display (Xvfb)" "$said" ||
  { echo "the script did not name the display :$display:"; cat "$said"; exit 1; }
screen=$(sed -n 's/^A screenshot of it: scripts\/xwd-to-png \(.*\) screenshot.png$/\1/p' "$said")
[ -n "$screen" ] || { echo "the script did not say how to take a screenshot:"; cat "$said"; exit 1; }
# The window shows in the screen file once the program has drawn it.
within_a_minute "$1/scripts/xwd-to-png" "$screen" "$said.png" >/dev/null 2>&1 ||
  { echo "no window in the screen file $screen"; exit 1; }

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq $((128 + 15)) ] || { echo "the program ended with status $status, not by SIGTERM"; exit 1; }
within_a_minute ended "$server" || { echo "the X server outlived the program"; exit 1; }
within_a_minute test ! -e "$socket" || { echo "the X server left its socket behind"; exit 1; }
within_a_minute test ! -e "$screen" || { echo "the X server left its screen file behind"; exit 1; }
# Its empty folder is the next run's to remove; this test's is removed here.
rmdir "${screen%/*}"
echo "the program and its X server on :$display ended"
