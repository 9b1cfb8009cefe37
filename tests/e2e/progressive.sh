# Progressive photos beyond the decoding budget are shown and become the
# wallpaper: a Huffman-coded one (as cameras and programs write them) decoded
# a band of rows at a time without any scratch file, an arithmetic-coded one
# through a scratch file; the file goes, also with a killed show.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 600
use_pictures_folder
temp=$(folder_of TEMP)
bmp=$(unixpath 'C:\windows\Orvandel.bmp')
make_jpeg "$E2E_WORK/half.jpg" 11000 8000 --quality 85 --progressive # 4:2:0, 264 MB
make_jpeg "$E2E_WORK/full.jpg" 7360 4912 --quality 90 --scans 10 --arithmetic # 217 MB
declare -A scratch_expected=([half]=no [full]=yes)
for photo in half full; do
  rm -f "$pics"/*.jpg "$bmp" && cp "$E2E_WORK/$photo.jpg" "$pics/"
  start_rss_watch "$E2E_WORK/rss-$photo"
  start_show
  used=no shown=no
  poll 100 0.2 '[ "$(scratch_files)" -gt 0 ] && used=yes; bright "$E2E_WORK/$photo.png"' && shown=yes
  check "the $photo photo is on the screen, scratch file used: ${scratch_expected[$photo]}" "$shown $used" \
    "yes ${scratch_expected[$photo]}"
  focus_mirvo && xdotool key ctrl+shift+w
  poll 100 0.2 '[ -s "$bmp" ]' && sleep 1
  check "it becomes the wallpaper" "$(identify -format '%w' "$bmp" 2>/dev/null | awk '{ print ($1 >= 3000) }')" 1
  end_show Escape 20
  stop_rss_watch
  check "a key ends it, under 300 MB, no scratch file left" \
    "$MIRVO_RC $(under_300_mb "$E2E_WORK/rss-$photo") $(scratch_files)" "0 yes 0"
done

start_mirvo /s
poll 100 0.05 '[ "$(scratch_files)" -gt 0 ]' || true
open=$(scratch_files) && kill -9 "$(mirvo_process)" 2>/dev/null || true
wait_mirvo 10 || true
sleep 1
check "killed while it decodes, it leaves no scratch file" "$((open > 0)) $(scratch_files)" "1 0"
finish
