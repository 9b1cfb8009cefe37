# Keys of the full-screen show: Page Down shows another picture at once,
# Ctrl+W, arrows and F1 keep the show, a letter ends it; and a folder without
# pictures shows the two-line message.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
for c in FF0000 00FF00 0000FF FFFF00; do convert -size 300x400 "xc:#$c" "$pics/p$c.jpg"; done
set_setting DisplayTime 600
set_setting ShowClock 0
set_setting ScalePercentage 50

start_show 1
focus_mirvo
screenshot "$E2E_WORK/first.png"
# 3:4 at 50 %: 288 x 384 px in the middle of the screen.
check "half-size picture in the middle" "$(colour "$E2E_WORK/first.png" 512 384)" \
  "$(colour "$E2E_WORK/first.png" 370 194)"
check "black left of the half-size picture" "$(colour "$E2E_WORK/first.png" 360 384)" black
check "black above the half-size picture" "$(colour "$E2E_WORK/first.png" 512 186)" black
check "no clock when it is off" "$(colour "$E2E_WORK/first.png" 1020 765)" black
seen="$(colour "$E2E_WORK/first.png" 512 384)"
for i in $(seq 1 8); do
  xdotool key Next
  sleep 0.6
  screenshot "$E2E_WORK/next.png"
  seen="$seen $(colour "$E2E_WORK/next.png" 512 384)"
done
distinct=$(printf '%s\n' $seen | sort -u | wc -l)
check "Page Down changes the picture" "$([ "$distinct" -ge 2 ] && echo yes || echo "no:$seen")" yes
xdotool key ctrl+w Left Down F1 shift Page_Down
sleep 1
check "Ctrl+W, arrows, F1 and Shift keep the show" "$(mirvo_running && echo running || echo ended)" running
end_show a
check "a letter ends the show" "$MIRVO_RC" 0

for key in Escape Return space 1; do
  start_show
  end_show "$key"
  check "$key ends the show" "$MIRVO_RC" 0
done

empty="$E2E_WORK/empty" && mkdir -p "$empty"
touch "$empty/notes.txt"
set_setting PicturesPath "$(winpath "$empty")"
start_show 1
screenshot "$E2E_WORK/empty.png"
# 24 pt bold white text at the top left, on two lines, nothing further down.
white_in() { convert "$E2E_WORK/empty.png" -crop "$1" -threshold 50% -format '%[fx:round(mean*w*h)]' info:; }
line1=$(white_in 600x34+0+0)
line2=$(white_in 600x34+0+36)
below=$(white_in 1024x600+0+120)
check "first line of the message" "$([ "$line1" -gt 100 ] && echo yes || echo "no ($line1)")" yes
check "second line of the message" "$([ "$line2" -gt 100 ] && echo yes || echo "no ($line2)")" yes
check "nothing below the message" "$below" 0
end_show q
check "a key ends the empty show" "$MIRVO_RC" 0

# A damaged picture (and one that is no picture at all) leaves the screen
# black and the show running.
broken="$E2E_WORK/broken" && mkdir -p "$broken"
head -c 3000 /dev/urandom >"$broken/noise.jpg"
convert -size 400x300 xc:red "$broken/cut.jpg" && truncate -s 200 "$broken/cut.jpg"
set_setting PicturesPath "$(winpath "$broken")"
set_setting DisplayTime 1
start_show 3
screenshot "$E2E_WORK/broken.png"
check "damaged pictures keep the show running" "$(mirvo_running && echo running || echo ended)" running
check "nothing drawn for them" "$(convert "$E2E_WORK/broken.png" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" 0
end_show q
check "a key ends that show too" "$MIRVO_RC" 0

# Another program's window taking the foreground ends a full-screen show.
start_show 1
driver activate 6 >/dev/null &
wait_mirvo 5 || true
check "another program taking the foreground ends the show" "$MIRVO_RC" 0
wait $! || true
finish
