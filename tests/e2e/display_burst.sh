# Bursts of display changes while pictures are prepared: three senders each
# send 300 WM_DISPLAYCHANGE to the show, which must end with a picture on the
# screen (display time 0 keeps it still, so nothing but the burst's last
# change can put it there).
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
for c in FF0000 00FF00 0000FF; do convert -size 800x600 "xc:#$c" "$pics/p$c.jpg"; done
set_setting DisplayTime 0
set_setting ShowClock 0
WM_DISPLAYCHANGE=126

for try in 1 2 3; do
  start_show 1
  senders=()
  for s in 1 2 3; do
    driver send Orvandel $WM_DISPLAYCHANGE 300 >/dev/null &
    senders+=($!)
  done
  wait "${senders[@]}" || true
  sleep 3
  screenshot "$E2E_WORK/burst$try.png"
  check "try $try: a picture on the screen after the burst" \
    "$(colour "$E2E_WORK/burst$try.png" 512 384 | grep -qv black && echo yes || echo no)" yes
  check "try $try: the whole box drawn" "$(colour "$E2E_WORK/burst$try.png" 100 384)" \
    "$(colour "$E2E_WORK/burst$try.png" 900 384)"
  focus_mirvo || true
  xdotool key a
  wait_mirvo 10 || true
  check "try $try: a key ends the show" "$MIRVO_RC" 0
done
finish
