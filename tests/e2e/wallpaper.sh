# Ctrl+Shift+W makes the picture on show the wallpaper: a Windows bitmap of
# the whole picture at its natural size, Orvandel.bmp in the Windows folder,
# named in the desktop settings; the show goes on.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
convert -size 640x320 xc:'#3060C0' "$pics/wide.jpg"
set_setting DisplayTime 600
bmp=$(unixpath 'C:\windows\Orvandel.bmp')
rm -f "$bmp"
reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null || true

start_show 1
focus_mirvo
xdotool key ctrl+shift+w
sleep 2
check "the wallpaper file is a Windows bitmap" "$(head -c 2 "$bmp" 2>&1)" BM
check "the bitmap holds the whole picture at its natural size" "$(identify -format '%w %h' "$bmp" 2>&1)" "640 320"
check "the bitmap holds the picture" "$(convert "$bmp" -format '%[fx:round(p{320,160}.b*255)]' info: 2>&1)" 192
check "the desktop wallpaper names it" \
  "$(reg query 'HKCU\Control Panel\Desktop' /v Wallpaper | grep -io 'c:\\windows\\orvandel\.bmp')" \
  'C:\windows\Orvandel.bmp'
check "the show goes on" "$(mirvo_running && echo running || echo ended)" running
end_show Escape
check "Escape ends it afterwards" "$MIRVO_RC" 0

# A 24-megapixel photo takes a while to write: a key right after Ctrl+Shift+W
# ends the show once the bitmap is written and named, with nothing left over.
rm -f "$pics"/*.jpg "$bmp"
reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null || true
make_jpeg "$pics/big.jpg" 6000 4000 --quality 90
start_show 3
focus_mirvo
xdotool key ctrl+shift+w
sleep 0.1
xdotool key Escape
wait_mirvo 20 || true
check "a key at once still ends the show" "$MIRVO_RC" 0
check "the wallpaper asked for is written whole (3:2, within the budget)" \
  "$(identify -format '%w %h' "$bmp" 2>&1 | awk '{ print ($1 >= 3000 && ($1 / $2 - 1.5) ^ 2 < 0.0001) ? "yes" : $0 }')" yes
check "and named in the desktop settings" \
  "$(reg query 'HKCU\Control Panel\Desktop' /v Wallpaper | grep -io 'c:\\windows\\orvandel\.bmp')" \
  'C:\windows\Orvandel.bmp'
check "no temporary file is left" "$(ls "$(dirname "$bmp")" | grep -ic '^orv.*\.tmp$')" 0
finish
