# Progressive photos whose coefficients exceed the decoding budget are shown
# (what does not fit goes to a scratch file that is gone afterwards, also
# when the show is killed), stay under 300 MB, and become the wallpaper.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 600
use_pictures_folder
temp=$("$WINE_RUN" winepath -u "$("$WINE_RUN" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
scratch_files() { find "$temp" -maxdepth 1 -name 'Orvandel-*.tmp' 2>/dev/null | wc -l; }
bmp=$("$WINE_RUN" winepath -u 'C:\windows\Orvandel.bmp' 2>/dev/null | tr -d '\r')

# A 7360 x 4912 photo in full colour resolution (217 MB of coefficients) and
# an 11000 x 8000 one in 4:2:0 (264 MB).
make_jpeg "$E2E_WORK/full.jpg" 7360 4912 --quality 90 --scans 10
make_jpeg "$E2E_WORK/half.jpg" 11000 8000 --quality 85 --progressive
for photo in full half; do
  rm -f "$pics"/*.jpg "$bmp"
  cp "$E2E_WORK/$photo.jpg" "$pics/"
  reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null || true
  start_rss_watch "$E2E_WORK/rss-$photo"
  start_mirvo /s
  driver wait Orvandel 20 >/dev/null
  used=no shown=no
  for i in $(seq 1 100); do
    [ "$(scratch_files)" -gt 0 ] && used=yes
    screenshot "$E2E_WORK/$photo.png"
    if [ "$(convert "$E2E_WORK/$photo.png" -format '%[fx:mean > 0.2 ? 1 : 0]' info:)" = 1 ]; then shown=yes; break; fi
    sleep 0.2
  done
  check "the $photo photo is on the screen" "$shown" yes
  check "its coefficients went to a scratch file" "$used" yes
  focus_mirvo
  xdotool key ctrl+shift+w
  for i in $(seq 1 100); do [ -s "$bmp" ] && break; sleep 0.2; done
  sleep 1
  check "the $photo photo becomes the wallpaper" "$(identify -format '%w' "$bmp" 2>/dev/null | awk '{ print ($1 >= 3000) ? "yes" : $0 }')" yes
  focus_mirvo
  xdotool key Escape
  wait_mirvo 20 || true
  stop_rss_watch
  check "a key ends the show" "$MIRVO_RC" 0
  check "it stays under 300 MB" "$(under_300_mb "$E2E_WORK/rss-$photo")" yes
  check "no scratch file is left" "$(scratch_files)" 0
done

# Killed while it decodes: the system removes the file.
start_mirvo /s
for i in $(seq 1 100); do [ "$(scratch_files)" -gt 0 ] && break; sleep 0.05; done
check "a scratch file is open while it decodes" "$([ "$(scratch_files)" -gt 0 ] && echo yes || echo no)" yes
kill -9 "$(mirvo_process)" 2>/dev/null || true
wait_mirvo 10 || true
sleep 1
check "killed, it leaves no scratch file" "$(scratch_files)" 0
finish
