# Hostile and heavy pictures never swell the show or keep it from answering:
# a folder of pictures that claim absurd sizes beside a good photo keeps the
# show running under 300 MB, shows the photo, and ends at once on a key; 500
# Page Down presses with 24-megapixel photos make no backlog; the wallpaper
# of a picture that claims 65,500 x 65,500 pixels is within the budget.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
pics="$E2E_WORK/hostile" && mkdir -p "$pics"

"$ROOT/tests/tools/make-hostile" "$pics" "$MAKE_JPEG"
# The good photo: green.
convert -size 1200x900 xc:'#00FF00' "$pics/photo.jpg"

# Wine's own teardown of a full-screen window (about two seconds without a
# window manager), measured on a show of the good photo alone.
good="$E2E_WORK/good" && mkdir -p "$good"
cp "$pics/photo.jpg" "$good/"
set_setting PicturesPath "$(winpath "$good")"
set_setting DisplayTime 60
start_show 1.5
focus_mirvo
xdotool key x
teardown=$(seconds_to_end 10)
# Within a second of the key, plus that teardown.
in_time() { awk -v t="$1" -v base="$teardown" -v extra="$2" 'BEGIN { print (t <= base + extra) ? "yes" : "no: " t " s, teardown " base " s" }'; }

set_setting PicturesPath "$(winpath "$pics")"
set_setting DisplayTime 1
start_rss_watch "$E2E_WORK/rss-hostile"
start_show
seen=no
for i in $(seq 1 40); do
  sleep 0.7
  screenshot "$E2E_WORK/hostile.png"
  if [ "$(colour "$E2E_WORK/hostile.png" 512 384)" = green ]; then seen=yes; break; fi
  focus_mirvo
  xdotool key Next
done
check "the good photo appears between the hostile pictures" "$seen" yes
sleep 3 # a few more changes, hostile pictures among them
check "the show keeps running" "$(mirvo_running && echo running || echo ended)" running
focus_mirvo
xdotool key x
took=$(seconds_to_end 10)
stop_rss_watch
check "a key ends it within a second (plus Wine's teardown)" "$(in_time "$took" 1.0)" yes
check "it stays under 300 MB" "$(under_300_mb "$E2E_WORK/rss-hostile")" yes

# 500 Page Down presses in about three seconds with 24-megapixel photos.
photos="$E2E_WORK/photos" && mkdir -p "$photos"
make_jpeg "$photos/one.jpg" 6000 4000 --quality 90
make_jpeg "$photos/two.jpg" 4000 6000 --quality 90
set_setting PicturesPath "$(winpath "$photos")"
set_setting DisplayTime 60
start_rss_watch "$E2E_WORK/rss-storm"
start_show 1
focus_mirvo
xdotool key --delay 5 $(printf 'Next %.0s' $(seq 1 500))
xdotool key x
took=$(seconds_to_end 30)
stop_rss_watch
check "after 500 Page Down presses a letter ends the show within two seconds" "$(in_time "$took" 2.0)" yes
check "the presses make no backlog in memory" "$(under_300_mb "$E2E_WORK/rss-storm")" yes

# Ctrl+Shift+W while a picture claiming 65,500 x 65,500 pixels is on show.
claim="$E2E_WORK/claim" && mkdir -p "$claim"
make_jpeg "$claim/claim.jpg" 16 16 --quality 50 --claim 65500 65500
set_setting PicturesPath "$(winpath "$claim")"
bmp=$(unixpath 'C:\windows\Orvandel.bmp')
printf 'the old wallpaper' >"$bmp"
start_rss_watch "$E2E_WORK/rss-wallpaper"
start_show 3
focus_mirvo
xdotool key ctrl+shift+w
sleep 6
check "the show survives the wallpaper of a lying picture" "$(mirvo_running && echo running || echo ended)" running
size=$(identify -format '%w %h' "$bmp" 2>/dev/null || head -c 17 "$bmp")
check "the wallpaper is a bitmap within the budget or the old one" \
  "$(awk -v s="$size" 'BEGIN { split(s, a, " "); print (s == "the old wallpaper" || (a[1] * a[2] * 4 <= 64 * 1048576 && a[1] > 0)) ? "yes" : "no: " s }')" yes
end_show
stop_rss_watch
check "the show then ends on a key" "$MIRVO_RC" 0
check "and stayed under 300 MB" "$(under_300_mb "$E2E_WORK/rss-wallpaper")" yes
finish
