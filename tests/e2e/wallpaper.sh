# Ctrl+Shift+W makes the picture on show the wallpaper: a Windows bitmap of
# the whole picture at its natural size, Orvandel.bmp in the Windows folder,
# named in the desktop settings; the show goes on.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
convert -size 640x320 xc:'#3060C0' "$pics/wide.jpg"
set_setting DisplayTime 600
bmp=$("$WINE_RUN" winepath -u 'C:\windows\Orvandel.bmp' 2>/dev/null | tr -d '\r')
rm -f "$bmp"
reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null || true

start_mirvo /s
driver wait Orvandel 20 >/dev/null
sleep 1
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
focus_mirvo
xdotool key Escape
wait_mirvo 10 || true
check "Escape ends it afterwards" "$MIRVO_RC" 0
finish
