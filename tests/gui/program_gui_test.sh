#!/usr/bin/env bash
# The program on a real X display, driven only by real X input as a user
# would: a click on the folder button, the folder typed into the browser and
# Enter, Enter on the confirmation, Enter on the completion message. Then the
# saved lyrics, the log and the opened log are checked, and screenshots of
# the main window and the confirmation box are kept in build/artifacts/.
#
# usage: program_gui_test.sh BUILD_DIR SOURCE_DIR   (exits 77 to skip)
set -uo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
artifacts="$build/artifacts"
work=$(mktemp -d /tmp/cantiva-gui.XXXXXX)
pids=()

fail() {
  echo "gui test: $*" >&2
  exit 1
}
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "gui test: $tool is not installed, skipped"; exit 77; }
done

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# A private display.
number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$number"
wait_for 100 xdotool getdisplaygeometry || fail "Xvfb did not start"

# The program in a folder of its own (temp.txt is written beside it), the
# songs, the stub that records what the desktop is asked to open.
mkdir -p "$work/program" "$work/songs" "$work/stubs" "$artifacts"
cp "$build"/bin/cantiva "$build"/bin/*.so "$work/program/"
cp "$source"/samples/songs/*.mp3 "$work/songs/"
cat >"$work/stubs/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >> "$work/opened.txt"
STUB
chmod +x "$work/stubs/xdg-open"

"$build/bin/cantiva-lyric-service" --library "$source/samples/lyrics" --port 0 --delay-ms 10 \
  2>"$work/service.log" &
pids+=($!)
wait_for 100 grep -q "at http://" "$work/service.log" || fail "the lyric service did not start"
port=$(sed -n 's/.*at http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/service.log" | head -n 1)

env -u CANTIVA_DISPLAY -u no_proxy -u NO_PROXY http_proxy="http://127.0.0.1:$port" \
  LSAN_OPTIONS="suppressions=$source/tests/gui/lsan_suppressions.txt" \
  PATH="$work/stubs:$PATH" "$work/program/cantiva" 2>"$work/program.log" &
program=$!
pids+=($program)

window_named() { xdotool search --onlyvisible --name "^$1\$" | tail -n 1; }
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(window_named "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

main=$(wait_window "QuenmarCantiva V1.1") || fail "no main window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 450 ] && [ "$HEIGHT" = 164 ] || fail "the main window's client area is ${WIDTH}x${HEIGHT}"
import -window "$main" "$artifacts/main-window.png" || fail "no screenshot of the main window"

# The folder button is at 8, 104 (136 by 24) in the client area.
xdotool mousemove --window "$main" 76 116 click 1
browser=$(wait_window "浏览文件夹") || fail "no folder browser"
sleep 0.3
xdotool type --delay 5 "$work/songs"
xdotool key Return

confirm=$(wait_window "信息") || fail "no confirmation box"
sleep 0.3
import -window "$confirm" "$artifacts/confirmation-box.png" || fail "no screenshot of the confirmation box"
xdotool key Return
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^信息\$' | grep -qx $confirm" ||
  fail "the confirmation box stayed open"

done_box=$(wait_window "信息") || fail "no completion message"
sleep 0.3
xdotool key Return

wait_for 100 test -s "$work/opened.txt" || fail "the log was not opened"
[ "$(cat "$work/opened.txt")" = "$work/program/temp.txt" ] || fail "opened: $(cat "$work/opened.txt")"
[ -s "$work/songs/我的歌声里.lrc" ] || fail "no 我的歌声里.lrc"
[ -s "$work/songs/Paper Boats.lrc" ] || fail "no Paper Boats.lrc"
[ ! -e "$work/songs/无人知晓的旋律.lrc" ] || fail "a lyric for a song without a hit"
lines=$(grep -c $'\r$' "$work/program/temp.txt")
[ "$lines" = $((3 + 3 * 6)) ] || fail "temp.txt holds $lines lines"

# The second batch: the status label seen on screen keeps changing.
mkdir -p "$work/many"
for i in $(seq -w 1 200); do : >"$work/many/Paper Boats $i.mp3"; done
xdotool mousemove --window "$main" 76 116 click 1
wait_window "浏览文件夹" >/dev/null || fail "no folder browser for the second batch"
sleep 0.3
xdotool type --delay 5 "$work/many"
xdotool key Return
confirm=$(wait_window "信息") || fail "no confirmation box for the second batch"
sleep 0.3
xdotool key Return
status_shots=()
for shot in $(seq 8); do
  sleep 0.4
  [ -n "$(window_named "信息")" ] && break
  status_shots+=("$(import -window "$main" -crop 360x16+8+136 png:- | md5sum)")
  [ "$shot" = 4 ] && import -window "$main" "$artifacts/main-window-during-batch.png"
done
distinct=$(printf '%s\n' "${status_shots[@]}" | sort -u | wc -l)
[ "$distinct" -ge 3 ] || fail "the status label showed $distinct pictures in ${#status_shots[@]} looks during the batch"
wait_window "信息" >/dev/null || fail "no completion message for the second batch"
sleep 0.3
xdotool key Return
wait_for 100 bash -c "[ \$(ls '$work/many' | grep -c '\\.lrc\$') = 200 ]" ||
  fail "the second batch saved $(ls "$work/many" | grep -c '\.lrc$') lyrics"

kill -TERM "$program"
wait "$program"
status=$?
[ "$status" = 0 ] || fail "the program ended with $status: $(cat "$work/program.log")"
echo "gui test: passed"
