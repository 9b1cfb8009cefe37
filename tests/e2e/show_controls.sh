# Control without leaving the show: Page Up brings the screen back as it was,
# Pause holds the show with a sign, nothing changes while the displays are
# off and a change comes when they are on again, and two monitors never show
# the same picture at once.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
colours=(FF0000 00FF00 0000FF FFFF00 FF00FF 00FFFF FFFFFF 808080)
# 2:1, so that black bars stay above and below (the sign sits in the lower one).
for c in "${colours[@]}"; do convert -size 400x200 "xc:#$c" "$pics/p$c.jpg"; done
set_setting ShowClock 0
centre() { screenshot "$E2E_WORK/c.png" && pixel "$E2E_WORK/c.png" 512 384; }

# Page Down until the picture differs, then Page Up: the screen as it was.
set_setting DisplayTime 600
start_mirvo /s
driver wait Orvandel 20 >/dev/null
sleep 1.5
focus_mirvo
screenshot "$E2E_WORK/before.png"
first=$(pixel "$E2E_WORK/before.png" 512 384)
for i in $(seq 1 6); do xdotool key Next; sleep 0.8; [ "$(centre)" != "$first" ] && break; done
check "Page Down shows another picture" "$([ "$(centre)" != "$first" ] && echo yes)" yes
xdotool key Prior
sleep 1
screenshot "$E2E_WORK/back.png"
check "Page Down then Page Up brings back the screen as it was" \
  "$(compare -metric AE -fuzz 5% "$E2E_WORK/before.png" "$E2E_WORK/back.png" null: 2>&1)" 0
xdotool key x
wait_mirvo 10 || true

# Pause with a display time of 2 s: the picture stays for 5 s, with the sign
# at the lower left; Pause again and the changes go on.
set_setting DisplayTime 2
start_mirvo /s
driver wait Orvandel 20 >/dev/null
sleep 1
focus_mirvo
xdotool key Pause
sleep 0.5
held=$(centre) same=yes
for i in $(seq 1 10); do sleep 0.5; [ "$(centre)" = "$held" ] || same=no; done
check "Pause holds the picture for 5 s" "$same" yes
check "the paused sign at the lower left" "$(colour "$E2E_WORK/c.png" 3 760)" white
xdotool key Pause
changed=no
for i in $(seq 1 30); do sleep 0.5; [ "$(centre)" != "$held" ] && changed=yes && break; done
check "Pause again resumes the changes" "$changed" yes
check "the sign is gone" "$(colour "$E2E_WORK/c.png" 3 760)" black

# Displays off: no change for 5 s; on again: a new change at once (three
# tries, in a show without a display time, so a new draw of the same colour
# does not decide).
driver displaypower Orvandel 0
sleep 0.5
off=$(centre) same=yes
for i in $(seq 1 10); do sleep 0.5; [ "$(centre)" = "$off" ] || same=no; done
check "no change while the displays are off" "$same" yes
xdotool key x
wait_mirvo 10 || true
set_setting DisplayTime 0
start_mirvo /s
driver wait Orvandel 20 >/dev/null
sleep 1.5
changed=no
for try in 1 2 3; do
  driver displaypower Orvandel 0
  before=$(centre)
  driver displaypower Orvandel 1
  sleep 1
  [ "$(centre)" != "$before" ] && changed=yes && break
done
check "a change at once when they are on again" "$changed" yes
focus_mirvo
xdotool key x
wait_mirvo 10 || true
check "a key ends the show" "$MIRVO_RC" 0

# Two monitors (two screens joined by Xinerama, both at the origin: the
# second's 800 x 600 over the primary's top left) and two pictures.
rm -f "$pics"/*.jpg
convert -size 400x300 xc:"#FF0000" "$pics/red.jpg"
convert -size 400x300 xc:"#0000FF" "$pics/blue.jpg"
set_setting DisplayTime 1
use_two_monitors
wineserver -k 2>/dev/null || true
start_mirvo /s
driver wait Orvandel 30 >/dev/null
sleep 2
repeats=0
for i in $(seq 1 10); do
  screenshot "$E2E_WORK/two.png"
  [ "$(colour "$E2E_WORK/two.png" 400 300)" = "$(colour "$E2E_WORK/two.png" 900 700)" ] &&
    repeats=$((repeats + 1))
  sleep 1
done
check "two monitors never show the same picture at once over 10 changes" "$repeats" 0
kill "$(mirvo_process)" 2>/dev/null || true
wait_mirvo 10 || true
wineserver -k 2>/dev/null || true
finish
