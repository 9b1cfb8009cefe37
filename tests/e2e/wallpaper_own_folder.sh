# A user who is not an administrator cannot write into the Windows folder
# (made read-only here by a bind mount, as root): Ctrl+Shift+W finds that out
# before it decodes anything, so a 300-megapixel photo on show is decoded once
# for the wallpaper, written whole to the user's own folder and named in the
# desktop settings; a key right after ends the show soon, with nothing of ours
# left in the temporary folder.
source "$(dirname "$0")/lib.sh"
if [ "$(id -u)" != 0 ]; then echo "skipped: the read-only Windows folder needs root for its bind mount" && exit 0; fi
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 600
use_pictures_folder
windows=$(unixpath 'C:\windows') temp=$(folder_of TEMP) own=$(folder_of LOCALAPPDATA)/Orvandel
rm -f "$own/Orvandel.bmp"
reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null || true
use_photo plain-300mp.jpg 20000 15000 --quality 90
read_only "${windows%/}"
check "the Windows folder is read-only" "$(touch "$windows/orv-probe" 2>/dev/null && echo writable || echo read-only)" read-only

start_show
check "the photo is on show" "$(poll 150 0.2 'bright "$E2E_WORK/shown.png"' && echo yes)" yes
# Whatever the show reads of its own (the next change prepared ahead) is done
# once its reads stand still for a second.
pid=$(mirvo_process) rchar=
poll 61 1 'before=$rchar rchar=$(io_counter "$pid" rchar); [ "$rchar" = "$before" ]' || true
focus_mirvo
xdotool key ctrl+shift+w
sleep 0.3
xdotool key Escape
key=$(now) first=$rchar
while kill -0 "$pid" 2>/dev/null && within "$key" 20; do rchar=$(io_counter "$pid" rchar "$rchar") && sleep 0.05; done
gone=$(since "$key")
wait_mirvo 10 || true
undo_read_only
reread=$((rchar - first)) size=$(stat -c %s "$photo")
echo "  read $((reread / 1048576)) MB of the $((size / 1048576)) MB photo after Ctrl+Shift+W; gone $gone s after the key"
check "the photo is read once for the wallpaper (at most 1.5 times its size)" \
  "$(awk -v r="$reread" -v s="$size" 'BEGIN { print (r > 0 && r <= 1.5 * s) }')" 1
check "the show is gone within 8 s of the key, as it should end" \
  "$(awk -v g="$gone" 'BEGIN { print (g <= 8) }') $MIRVO_RC" "1 0"
check "the desktop wallpaper names the bitmap in the user's own folder" \
  "$(reg_value 'HKCU\Control Panel\Desktop' Wallpaper | grep -ixc 'c:\\users\\[^\\]*\\appdata\\local\\orvandel\\orvandel\.bmp')" 1
# The whole photo at the largest size within 64 MB (4:3), its last rows drawn
# too: a decode cut short leaves them flat grey.
check "the bitmap holds the whole photo" \
  "$(identify -format '%w %h' "$own/Orvandel.bmp" 2>&1 | awk '{ print ($1 >= 4000 && $1 * $2 * 4 <= 64 * 2^20 && ($1 / $2 - 4 / 3) ^ 2 < 0.0001) ? "yes" : $0 }') $(convert "$own/Orvandel.bmp" -gravity south -crop 100%x2%+0+0 -format '%[fx:standard_deviation > 0.02]' info: 2>&1)" \
  "yes 1"
check "nothing of ours is left in the temporary folder or beside the bitmap" \
  "$(find "$temp" "$own" -maxdepth 1 \( -iname 'orv*.tmp' -o -name 'Orvandel-*.tmp' \) 2>/dev/null | wc -l)" 0
finish
