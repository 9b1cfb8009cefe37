# Shared helpers of the end-to-end scripts. Each script sources this file;
# MIRVO, DRIVER, ROOT and E2E_WORK come from ctest.
set -euo pipefail
WINE_RUN="$ROOT/scripts/wine-run"
rm -rf "$E2E_WORK" && mkdir -p "$E2E_WORK"
failures=0

# Runs the test driver; its output without carriage returns.
driver() { "$WINE_RUN" "$DRIVER" "$@" | tr -d '\r'; }

# Starts Mirvo.scr with the given switch in the background; MIRVO_PID is its pid.
start_mirvo() {
  "$WINE_RUN" "$MIRVO" "$@" >"$E2E_WORK/mirvo.out" 2>&1 &
  MIRVO_PID=$!
}

# Waits up to $1 seconds for Mirvo.scr to end; its exit code is in MIRVO_RC.
wait_mirvo() {
  local limit=${1:-10} i=0
  while kill -0 "$MIRVO_PID" 2>/dev/null; do
    sleep 0.1
    i=$((i + 1))
    if [ $i -gt $((limit * 10)) ]; then MIRVO_RC=timeout; return 1; fi
  done
  set +e; wait "$MIRVO_PID"; MIRVO_RC=$?; set -e
}

# The registry of the prefix, through Wine's own reg tool.
reg() { "$WINE_RUN" reg "$@" 2>/dev/null | tr -d '\r'; }
clear_settings() { reg delete 'HKCU\Software\Orvandel' /f >/dev/null || true; }
set_setting() { reg add 'HKCU\Software\Orvandel\Settings' /v "$1" /t REG_SZ /d "$2" /f >/dev/null; }

# The data of registry value $2 of key $1; fails when there is no such value.
reg_value() {
  reg query "$1" /v "$2" | awk -v n="$2" '$1 == n && $2 ~ /^REG_/ { f = 1; sub(/^ *[^ ]+ +[^ ]+ */, ""); print } END { exit !f }'
}

# The Windows path of a Linux path in the prefix, and the Linux path of a Windows one.
winpath() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unixpath() { "$WINE_RUN" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# A fresh pictures folder, $pics, set as the show's folder.
use_pictures_folder() {
  pics="$E2E_WORK/pics" && mkdir -p "$pics"
  set_setting PicturesPath "$(winpath "$pics")"
}

screenshot() { import -window root -depth 8 "$1"; }

check() { # check DESCRIPTION ACTUAL EXPECTED
  if [ "$2" == "$3" ]; then echo "ok: $1"
  else echo "FAIL: $1"; echo "  expected: $3"; echo "  actual:   $2"; failures=$((failures + 1)); fi
}

finish() {
  if [ "${MIRVO_PID:-}" ] && kill -0 "$MIRVO_PID" 2>/dev/null; then kill "$MIRVO_PID" 2>/dev/null || true; fi
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}

# The colour of one pixel of a screenshot as #RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1; }

# The colour of one pixel by name, allowing for JPEG's small shifts: black,
# white, red, green, blue, yellow, or the hex value for anything else.
colour() {
  local hex r g b
  hex=$(pixel "$@"); r=$((16#${hex:1:2})); g=$((16#${hex:3:2})); b=$((16#${hex:5:2}))
  hi() { [ "$1" -ge 200 ]; }
  lo() { [ "$1" -le 55 ]; }
  if lo $r && lo $g && lo $b; then echo black
  elif hi $r && hi $g && hi $b; then echo white
  elif hi $r && lo $g && lo $b; then echo red
  elif lo $r && hi $g && lo $b; then echo green
  elif lo $r && lo $g && hi $b; then echo blue
  elif hi $r && hi $g && lo $b; then echo yellow
  else echo "$hex"; fi
}

# From here on an X display of its own with two monitors: two screens joined
# by Xinerama (RandR off), 1024 x 768 and 800 x 600, both at the origin in
# this Xvfb; it goes with Wine's server when the script ends.
use_two_monitors() {
  local n=80
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -screen 1 800x600x24 +xinerama -extension RANDR -nolisten tcp \
    >/dev/null 2>&1 &
  TWO_MONITORS=$!
  trap 'wineserver -k 2>/dev/null || true; kill $TWO_MONITORS 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  poll 50 0.1 '[ -e "/tmp/.X11-unix/X$n" ]' || true
}

# Starts the full-screen show, waits up to $2 s (20) for its window, then $1 s (0).
start_show() { start_mirvo /s && driver wait Orvandel "${2:-20}" >/dev/null && sleep "${1:-0}"; }
# Types key $1 (x) into the show and waits up to $2 s (10) for it to end.
end_show() { focus_mirvo && xdotool key "${1:-x}" && { wait_mirvo "${2:-10}" || true; }; }

# Takes a screenshot into $E2E_WORK/screen.png and prints its centre pixel.
centre() { screenshot "$E2E_WORK/screen.png" && pixel "$E2E_WORK/screen.png" 512 384; }
# True when a screenshot taken into $1 is mostly bright: a light photo is on show.
bright() { screenshot "$1" && [ "$(convert "$1" -format '%[fx:mean > 0.2]' info:)" = 1 ]; }

# Evaluates the condition $3 up to $1 times, $2 s apart, until it holds.
poll() { local _try; for ((_try = 0; _try < $1; _try++)); do eval "$3" && return 0; sleep "$2"; done; return 1; }
# True when the condition $3 holds each of $1 times, $2 s apart (waiting first).
steady() { local _try; for ((_try = 0; _try < $1; _try++)); do sleep "$2"; eval "$3" || return 1; done; }
# The time now, and the seconds (with a decimal) since time $1.
now() { date +%s.%N; }
since() { awk -v s="$1" -v n="$(now)" 'BEGIN { printf "%.1f", n - s }'; }
# True while less than $2 seconds have passed since time $1.
within() { awk -v s="$1" -v n="$(now)" -v l="$2" 'BEGIN { exit !(n - s < l) }'; }

# Gives the keyboard to the full-screen show (bare Xvfb needs the X focus set).
focus_mirvo() {
  local w
  w=$(xdotool search --onlyvisible --class mirvo | head -n 1)
  [ -n "$w" ] && xdotool windowfocus --sync "$w"
}

# True while Mirvo.scr runs.
mirvo_running() { kill -0 "$MIRVO_PID" 2>/dev/null; }

# The Linux pid of the running Mirvo.scr of this test (Wine names the process
# after it); nothing when it does not run. Other builds' may run beside it.
mirvo_process() {
  local p
  for p in $(pgrep -x Mirvo.scr || true); do
    if tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | head -n 1 | grep -qxF "$MIRVO"; then
      echo "$p"
      return 0
    fi
  done
}

# Samples the largest resident set (in MB) of Mirvo.scr every tenth of a
# second into the file $1 until stopped with stop_rss_watch.
start_rss_watch() {
  local file=$1
  echo 0 >"$file"
  (
    while true; do
      local pid kb
      pid=$(mirvo_process) || true
      if [ -n "$pid" ]; then
        kb=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
        [ "${kb:-0}" -gt "$(cat "$file")" ] && echo "$kb" >"$file"
      fi
      sleep 0.1
    done
  ) &
  RSS_WATCH=$!
}
stop_rss_watch() { kill "$RSS_WATCH" 2>/dev/null || true; wait "$RSS_WATCH" 2>/dev/null || true; }
rss_mb() { echo $(($(cat "$1") / 1024)); }

# The test JPEG writer (tests/tools/make-jpeg.cpp), built once by the build.
: "${MAKE_JPEG:?the build passes the test JPEG writer}"
make_jpeg() { [ $# -eq 0 ] || "$MAKE_JPEG" "$@"; }

# Test photo $1, written by the test JPEG writer with the other arguments
# (size and options) once per build folder, as the big ones take a while,
# and linked into $pics; its path is in $photo.
use_photo() {
  photo="$(dirname "$E2E_WORK")/photos/$1" && mkdir -p "$(dirname "$photo")"
  [ -s "$photo" ] || { "$MAKE_JPEG" "$photo.part" "${@:2}" && mv "$photo.part" "$photo"; }
  ln -f "$photo" "$pics/" 2>/dev/null || cp "$photo" "$pics/"
}

# The Linux folder of the Windows environment variable $1 (TEMP, LOCALAPPDATA).
folder_of() { unixpath "$("$WINE_RUN" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
# How many scratch files of the show are in the temporary folder $temp.
scratch_files() { find "$temp" -maxdepth 1 -name 'Orvandel-*.tmp' 2>/dev/null | wc -l; }

# Counter $2 (rchar, wchar, read_bytes, write_bytes) of /proc/PID/io of pid $1;
# $3 (or nothing) once the process is gone.
io_counter() { local v; v=$(awk -v name="$2:" '$1 == name { print $2 }' "/proc/$1/io" 2>/dev/null) || true; echo "${v:-${3:-}}"; }

# Makes folder $1 read-only by a bind mount on itself (root only) until
# undo_read_only or the end of the script.
read_only() { READ_ONLY=$1 && trap undo_read_only EXIT && mount --bind "$1" "$1" && mount -o remount,bind,ro "$1"; }
undo_read_only() { umount "$READ_ONLY" 2>/dev/null || umount -l "$READ_ONLY" 2>/dev/null || true; }

# Seconds (with a decimal) from now until Mirvo.scr has ended, at most $1.
seconds_to_end() { local start; start=$(now); wait_mirvo "$1" || true; since "$start"; }

# The first and last rows (from the top, in column $2) of screenshot $1 whose
# red channel is bright. (txt lines read "X,Y: (R,G,B) ...", so field 2 is
# the row and 3 the red.)
first_red_row() { convert "$1" -crop "1x768+$2+0" -depth 8 txt:- | awk -F'[(,]' 'NR > 1 && $3 > 128 { print $2 + 0; exit }'; }
last_red_row() { convert "$1" -crop "1x768+$2+0" -depth 8 txt:- | awk -F'[(,]' 'NR > 1 && $3 > 128 { last = $2 + 0 } END { print last + 0 }'; }

# "yes" when the largest resident set kept in file $1 stayed under 300 MB.
under_300_mb() { local mb; mb=$(rss_mb "$1"); [ "$mb" -lt 300 ] && echo yes || echo "no: $mb MB"; }
