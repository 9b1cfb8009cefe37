# Two shows at once: the running flag stays set while one shows, goes with the last.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting DisplayTime 600
use_pictures_folder
convert -size 800x600 xc:'#2080C0' "$pics/photo.jpg"
running() { kill -0 "$1" 2>/dev/null && echo running || echo ended; }
start_mirvo /s && first=$MIRVO_PID
driver wait Orvandel 20 >/dev/null
start_mirvo /s && second=$MIRVO_PID
sleep 4
check "two shows run, the flag is set" "$(running "$first") $(running "$second") $(driver saverrunning)" "running running 1"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --class mirvo | tail -n 1)" # the newer, on top
xdotool key x
MIRVO_PID=$second && wait_mirvo 10 || true
check "the newer one ended, the flag stays set" "$(running "$first") $(running "$second") $(driver saverrunning)" "running ended 1"
focus_mirvo && xdotool key x
MIRVO_PID=$first && wait_mirvo 10 || true
check "the last one ended, the flag is cleared" "$(running "$first") $(driver saverrunning)" "ended 0"

# The session's end ends a show as its close does, without the password check.
start_show 2
"$WINE_RUN" wineboot --end-session >/dev/null 2>&1 || true
wait_mirvo 15 || true
check "the session's end ends the show and clears the flag" "$MIRVO_RC $(driver saverrunning)" "0 0"
finish
