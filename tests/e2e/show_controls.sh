# Control without leaving the show: Page Up brings the screen back as it was,
# Pause holds the show with a sign, nothing changes while the displays are
# off and a change comes when they are on again, and two monitors never show
# the same picture at once.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
# 2:1, so that black bars stay above and below (the sign sits in the lower one).
for c in FF0000 00FF00 0000FF FFFF00 FF00FF 00FFFF FFFFFF 808080; do convert -size 400x200 "xc:#$c" "$pics/p$c.jpg"; done
set_setting ShowClock 0

# Page Down until the picture differs, then Page Up: the screen as it was.
set_setting DisplayTime 600
start_show 1.5
focus_mirvo
screenshot "$E2E_WORK/before.png"
first=$(pixel "$E2E_WORK/before.png" 512 384)
check "Page Down shows another picture" \
  "$(poll 6 0 'xdotool key Next; sleep 0.8; [ "$(centre)" != "$first" ]' && echo yes)" yes
xdotool key Prior
sleep 1
screenshot "$E2E_WORK/back.png"
check "Page Down then Page Up brings back the screen as it was" \
  "$(compare -metric AE -fuzz 5% "$E2E_WORK/before.png" "$E2E_WORK/back.png" null: 2>&1)" 0
end_show

# Pause with a display time of 2 s: the picture stays for 5 s, with the sign
# at the lower left; Pause again and the changes go on.
set_setting DisplayTime 2
start_show 1
focus_mirvo
xdotool key Pause
sleep 0.5
held=$(centre)
check "Pause holds the picture for 5 s" "$(steady 10 0.5 '[ "$(centre)" = "$held" ]' && echo yes)" yes
check "the paused sign at the lower left" "$(colour "$E2E_WORK/screen.png" 3 760)" white
xdotool key Pause
check "Pause again resumes the changes" "$(poll 30 0 'sleep 0.5; [ "$(centre)" != "$held" ]' && echo yes)" yes
check "the sign is gone" "$(colour "$E2E_WORK/screen.png" 3 760)" black

# Displays off: no change for 5 s; on again: a new change at once (three
# tries, in a show without a display time, so a new draw of the same colour
# does not decide).
driver displaypower Orvandel 0
sleep 0.5
off=$(centre)
check "no change while the displays are off" "$(steady 10 0.5 '[ "$(centre)" = "$off" ]' && echo yes)" yes
end_show
set_setting DisplayTime 0
start_show 1.5
check "a change at once when they are on again" "$(poll 3 0 'driver displaypower Orvandel 0; before=$(centre)
  driver displaypower Orvandel 1; sleep 1; [ "$(centre)" != "$before" ]' && echo yes)" yes
end_show
check "a key ends the show" "$MIRVO_RC" 0

# Two monitors (the second's 800 x 600 over the primary's top left) and two
# pictures: never the same on both, looked at once a second for 10 s.
rm -f "$pics"/*.jpg
for c in FF0000 0000FF; do convert -size 400x300 "xc:#$c" "$pics/$c.jpg"; done
set_setting DisplayTime 1
use_two_monitors
start_show 1 30
check "two monitors never show the same picture at once over 10 changes" "$(steady 10 1 'screenshot "$E2E_WORK/two.png"
  [ "$(colour "$E2E_WORK/two.png" 400 300)" != "$(colour "$E2E_WORK/two.png" 900 700)" ]' && echo yes)" yes
finish
