# Two shows at once: the screen-saver running flag stays set while one of
# them still shows, and goes with the last.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 600
use_pictures_folder
convert -size 800x600 xc:'#2080C0' "$pics/photo.jpg"
flag() { driver saverrunning; }
running() { kill -0 "$1" 2>/dev/null && echo running || echo ended; }

start_mirvo /s
first=$MIRVO_PID
driver wait Orvandel 20 >/dev/null
sleep 1
start_mirvo /s
second=$MIRVO_PID
for i in $(seq 1 50); do [ "$(xdotool search --onlyvisible --class mirvo | wc -l)" -ge 2 ] && break; sleep 0.2; done
sleep 1
check "two shows run" "$(running "$first") $(running "$second")" "running running"
check "the flag is set" "$(flag)" 1
# The key goes to the newer show, which is on top.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --class mirvo | tail -n 1)"
xdotool key x
MIRVO_PID=$second && wait_mirvo 10 || true
check "the newer show ended, the first runs" "$(running "$first") $(running "$second")" \
  "running ended"
check "the flag stays set while the first shows" "$(flag)" 1
focus_mirvo
xdotool key x
MIRVO_PID=$first && wait_mirvo 10 || true
MIRVO_PID=$second && wait_mirvo 10 || true
check "both ended" "$(running "$first") $(running "$second")" "ended ended"
check "the last one clears the flag" "$(flag)" 0
finish
