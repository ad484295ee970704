#!/usr/bin/env bash
# Peak memory of the running editor with a 50 x 50 map. Starts the editor on a
# private virtual X server, picks "50" x "50" in the size dialog (End in each
# list, Enter = OK), waits for the map window, reads VmHWM (peak resident set)
# and VmRSS from /proc/PID/status, then confirms the map's size by saving it
# through Save As (Ctrl+S) and reading "50,50" from the file.
# Usage: bench/peak_memory.sh [path/to/gridforge]   (default: build/gridforge)
set -euo pipefail
cd "$(dirname "$0")/.."
binary=$(realpath "${1:-build/gridforge}")
limit_kb=$((80 * 1024))

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number, chosen by the X server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export HOME="$work" XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
fi

wait_window() {  # wait_window TITLE_REGEX -> prints the window id
  for _ in $(seq 1 100); do
    if id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window matching '$1' appeared" >&2
  return 1
}

"$binary" >"$work/editor.log" 2>&1 &
app=$!
pids+=("$app")

dialog=$(wait_window '^マップサイズの選択$')
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
xdotool key --clearmodifiers End Tab End Return
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^マップサイズの選択$' >/dev/null 2>&1 || break
  sleep 0.1
done
sleep 2  # the map window builds and paints

peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$app/status")
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$app/status")

# Confirm the map is 50 x 50: save it and read its size line.
frame=$(wait_window '^Gridforge')
known=$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort)
xdotool windowactivate --sync "$frame" 2>/dev/null || xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+s
save=""
for _ in $(seq 1 100); do
  save=$(comm -13 <(echo "$known") <(xdotool search --onlyvisible --name '.' 2>/dev/null | sort) | head -n1)
  [ -n "$save" ] && break
  sleep 0.1
done
[ -n "$save" ] || { echo "the save dialog did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$save" 2>/dev/null || xdotool windowfocus --sync "$save"
xdotool type --delay 5 "$work/check.kxgf"
xdotool key Return
for _ in $(seq 1 50); do [ -s "$work/check.kxgf" ] && break; sleep 0.1; done
size_line=$(sed -n 2p "$work/check.kxgf" 2>/dev/null | tr -d '\r')
if [ "$size_line" != "50,50" ]; then
  echo "could not confirm a 50 x 50 map (size line: '${size_line:-none}')" >&2
  exit 1
fi

verdict="met"
[ "$peak_kb" -lt "$limit_kb" ] || verdict="NOT met"
printf 'peak memory, 50 x 50 map: VmHWM %d kB (%.1f MB), VmRSS %d kB; target < 80 MB: %s\n' \
  "$peak_kb" "$(awk -v k="$peak_kb" 'BEGIN {print k / 1024}')" "$rss_kb" "$verdict"
