# The full-screen show: the picture where the layout puts it on a black
# screen, the clock in the lower right, the picture changing by itself, and
# the mouse rule (ten moves keep the show, the eleventh ends it).
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
convert -size 400x200 xc:'#FF0000' "$pics/wide.jpg"
set_setting DisplayTime 60
set_setting ShowClock 1
set_setting ScalePercentage 100

near() { [ $(( $1 - $2 )) -le 2 ] && [ $(( $2 - $1 )) -le 2 ] && echo yes || echo "no ($1, expected $2)"; }

start_show 2
shot="$E2E_WORK/show.png"
screenshot "$shot"
# 2:1 on 1024 x 768: the full width, 512 high, 128 from the top.
check "picture starts 128 px from the top" "$(near "$(first_red_row "$shot" 300)" 128)" yes
check "picture ends 640 px from the top" "$(near "$(last_red_row "$shot" 300)" 639)" yes
check "picture reaches the left edge" "$(colour "$shot" 0 384)" red
check "picture reaches the right edge" "$(colour "$shot" 1023 384)" red
check "black above the picture" "$(colour "$shot" 512 60)" black
check "black below the picture" "$(colour "$shot" 512 700)" black
# The clock: 57 x 17 px at 967, 751, on the window colour, with dark digits.
check "clock background in the lower right" "$(colour "$shot" 1020 765)" white
dark=$(convert "$shot" -crop 57x17+967+751 -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:)
check "clock shows its digits" "$([ "$dark" -gt 20 ] && echo yes || echo "no ($dark dark pixels)")" yes
check "no clock left of its place" "$(colour "$shot" 950 760)" black

# Mouse rule: ten moves over the picture keep the show, the eleventh ends it.
for i in $(seq 1 10); do xdotool mousemove $((100 + i * 20)) 400; sleep 0.2; done
sleep 1
check "ten mouse moves keep the show" "$(mirvo_running && echo running || echo ended)" running
xdotool mousemove 500 420
wait_mirvo 10 || true
check "the eleventh move ends the show" "$MIRVO_RC" 0

# Pictures change by themselves after the display time: four colours, one
# second each; ten looks see more than one of them.
for c in 00FF00 0000FF FFFF00; do convert -size 400x200 "xc:#$c" "$pics/p$c.jpg"; done
set_setting DisplayTime 1
start_show
seen=""
for i in $(seq 1 10); do
  sleep 1.1
  screenshot "$E2E_WORK/change.png"
  seen="$seen $(colour "$E2E_WORK/change.png" 512 384)"
done
distinct=$(printf '%s\n' $seen | sort -u | wc -l)
check "the picture changes with the display time" "$([ "$distinct" -ge 2 ] && echo yes || echo "no:$seen")" yes
xdotool mousemove 10 10
for i in $(seq 1 11); do xdotool mousemove $((20 + i * 3)) 20; done
wait_mirvo 10 || true
check "moves over the black border end it too" "$MIRVO_RC" 0
finish
