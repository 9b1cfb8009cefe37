# "/p HANDLE": the show inside a host window made by the test driver covers
# exactly its client area, leaves the focus where it was, ignores the mouse
# and ends with the host; "/p" alone and "/p abc" show their error boxes.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
convert -size 400x200 xc:'#00FF00' "$pics/wide.jpg"
set_setting DisplayTime 1

driver host 320 240 12 >/dev/null &
host_pid=$!
host=$(driver wait "Preview host" 10)
before=$(driver foreground)
start_mirvo /p "$host"
sleep 3
child=$(driver children "Preview host" | grep OrvandelSlideshow || true)
check "the show is a visible child at the host's origin, its client size" \
  "$(awk '{print $3, $4, $5, $6, $7}' <<<"$child")" "1 0 0 320 240"
check "the focus stays where it was" "$(driver foreground)" "$before"
# (What the preview draws is not checked here: Wine does not show what one
# process paints into a child of another process's window. The drawing at
# preview size is checked in-process by the Windows tests of the scene.)
read -r hx hy _ _ < <(driver rect "Preview host")
for i in $(seq 1 15); do xdotool mousemove $((hx + 10 + i * 5)) $((hy + 40)); sleep 0.05; done
sleep 1
check "mouse moves do not end a preview" "$(mirvo_running && echo running || echo ended)" running
wait "$host_pid" || true
wait_mirvo 10 || true
check "the preview ends with its host" "$MIRVO_RC" 0

start_mirvo /p
check "\"/p\" alone: invalid argument" "$(driver msgbox Orvandel 10)" "5: Invalid procedure call or argument"
check "stop icon" "$(driver icon Orvandel)" error
driver click Orvandel OK
wait_mirvo 10 || true
check "the program ends after the box" "$MIRVO_RC" 0

start_mirvo /p abc
check "\"/p abc\": type mismatch" "$(driver msgbox Orvandel 10)" "13: Type mismatch"
driver click Orvandel OK
wait_mirvo 10 || true
check "the program ends after the type-mismatch box" "$MIRVO_RC" 0

start_mirvo /p 999999
wait_mirvo 10 || true
check "a handle that names no window ends the program" "$MIRVO_RC" 0

start_mirvo /p "$(driver desktop)"
wait_mirvo 10 || true
check "the desktop window cannot host the preview: the program ends" "$MIRVO_RC" 0

# A host whose process is killed: the preview ends too.
driver host 320 240 60 >/dev/null &
host_pid=$!
host=$(driver wait "Preview host" 10)
start_mirvo /p "$host"
sleep 3
check "the preview runs in its host" "$(mirvo_running && echo running || echo ended)" running
# The host's own process, not the shell around it, and only this prefix's.
for p in $(pgrep -x driver.exe); do
  if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then kill -9 "$p"; fi
done
wait "$host_pid" 2>/dev/null || true
wait_mirvo 10 || true
check "the preview ends when its host's process is killed" "$MIRVO_RC" 0
finish
