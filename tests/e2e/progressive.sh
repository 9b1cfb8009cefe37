# Progressive photos beyond the decoding budget are shown through a scratch
# file, and become the wallpaper; the file goes, also with a killed show.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 600
use_pictures_folder
temp=$("$WINE_RUN" winepath -u "$("$WINE_RUN" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
scratch_files() { find "$temp" -maxdepth 1 -name 'Orvandel-*.tmp' 2>/dev/null | wc -l; }
bmp=$("$WINE_RUN" winepath -u 'C:\windows\Orvandel.bmp' 2>/dev/null | tr -d '\r')
make_jpeg "$E2E_WORK/full.jpg" 7360 4912 --quality 90 --scans 10 # 217 MB of coefficients
make_jpeg "$E2E_WORK/half.jpg" 11000 8000 --quality 85 --progressive # 4:2:0, 264 MB
for photo in full half; do
  rm -f "$pics"/*.jpg "$bmp" && cp "$E2E_WORK/$photo.jpg" "$pics/"
  start_rss_watch "$E2E_WORK/rss-$photo"
  start_mirvo /s
  driver wait Orvandel 20 >/dev/null
  used=no shown=no
  for i in $(seq 1 100); do
    [ "$(scratch_files)" -gt 0 ] && used=yes
    screenshot "$E2E_WORK/$photo.png"
    [ "$(convert "$E2E_WORK/$photo.png" -format '%[fx:mean > 0.2]' info:)" = 1 ] && shown=yes && break
    sleep 0.2
  done
  check "the $photo photo is on the screen, through a scratch file" "$shown $used" "yes yes"
  focus_mirvo && xdotool key ctrl+shift+w
  for i in $(seq 1 100); do [ -s "$bmp" ] && sleep 1 && break; sleep 0.2; done
  check "it becomes the wallpaper" "$(identify -format '%w' "$bmp" 2>/dev/null | awk '{ print ($1 >= 3000) }')" 1
  focus_mirvo && xdotool key Escape
  wait_mirvo 20 || true
  stop_rss_watch
  check "a key ends it, under 300 MB, no scratch file left" \
    "$MIRVO_RC $(under_300_mb "$E2E_WORK/rss-$photo") $(scratch_files)" "0 yes 0"
done

start_mirvo /s
for i in $(seq 1 100); do [ "$(scratch_files)" -gt 0 ] && break; sleep 0.05; done
open=$(scratch_files) && kill -9 "$(mirvo_process)" 2>/dev/null || true
wait_mirvo 10 || true
sleep 1
check "killed while it decodes, it leaves no scratch file" "$((open > 0)) $(scratch_files)" "1 0"
finish
