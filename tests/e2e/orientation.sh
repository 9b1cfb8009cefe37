# Photos as cameras store them: a picture whose EXIF orientation says how it
# was turned is shown upright. Each of the eight orientations of one photo is
# drawn like the photo stored upright; a portrait photo stored on its side
# fills the screen's height, centred; its wallpaper is written upright.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
set_setting DisplayTime 600
set_setting ShowClock 0

# Puts an EXIF block with orientation $2 after the start marker of JPEG $1.
with_orientation() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
path, o = sys.argv[1], int(sys.argv[2])
tiff = b'II*\0' + struct.pack('<IH', 8, 1) + struct.pack('<HHIHH', 0x0112, 3, 1, o, 0) + struct.pack('<I', 0)
payload = b'Exif\0\0' + tiff
data = open(path, 'rb').read()
open(path, 'wb').write(data[:2] + b'\xff\xe1' + struct.pack('>H', len(payload) + 2) + payload + data[2:])
PY
}

# The upright photo: 400 x 300 in four colours, a bar along its top.
upright="$E2E_WORK/upright.png"
convert -size 200x150 xc:'#E02020' -size 200x150 xc:'#20C020' +append \
  \( -size 200x150 xc:'#2040E0' -size 200x150 xc:'#F0E020' +append \) -append \
  -fill white -draw 'rectangle 0,0 399,20' "$upright"
# What each orientation stores: the upright photo turned the other way.
undo=([1]="" [2]="-flop" [3]="-rotate 180" [4]="-flip" [5]="-transpose" [6]="-rotate -90"
  [7]="-transverse" [8]="-rotate 90")

shots=()
for o in 1 2 3 4 5 6 7 8; do
  rm -f "$pics"/*
  # shellcheck disable=SC2086
  convert "$upright" ${undo[$o]} -quality 95 "$pics/photo.jpg"
  with_orientation "$pics/photo.jpg" "$o"
  start_show 1.5
  screenshot "$E2E_WORK/o$o.png"
  shots[$o]="$E2E_WORK/o$o.png"
  end_show
done
# 4:3 on 1024 x 768 fills the screen: the four quarters and the white bar.
check "orientation 1: red at the top left" "$(colour "${shots[1]}" 200 200)" red
check "orientation 1: the bar along the top" "$(colour "${shots[1]}" 512 20)" white
check "orientation 1: yellow at the bottom right" "$(colour "${shots[1]}" 800 600)" yellow
for o in 2 3 4 5 6 7 8; do
  diff=$(compare -metric RMSE "${shots[1]}" "${shots[$o]}" null: 2>&1 | sed "s/.*(\(.*\))/\1/" || true)
  check "orientation $o is drawn like the upright photo" \
    "$(awk -v d="$diff" 'BEGIN { print (d < 0.03) ? "same" : "differs by " d }')" same
done

# A portrait photo stored as landscape with orientation 6: 300 x 400 upright,
# 576 x 768 on the screen, 224 pixels from the left.
rm -f "$pics"/*
convert -size 300x400 gradient:'#F00000-#0000F0' -rotate -90 -quality 95 "$pics/portrait.jpg"
with_orientation "$pics/portrait.jpg" 6
start_show 1.5
screenshot "$E2E_WORK/portrait.png"
check "black left of the portrait" "$(colour "$E2E_WORK/portrait.png" 220 384)" black
check "the portrait's left edge" "$(colour "$E2E_WORK/portrait.png" 228 5 | grep -c '^black$')" 0
check "the portrait's right edge" "$(colour "$E2E_WORK/portrait.png" 795 762 | grep -c '^black$')" 0
check "black right of the portrait" "$(colour "$E2E_WORK/portrait.png" 804 384)" black
check "red at the top of the portrait" "$(colour "$E2E_WORK/portrait.png" 512 3)" red
check "blue at its bottom" "$(colour "$E2E_WORK/portrait.png" 512 765)" blue

bmp=$(unixpath 'C:\windows\Orvandel.bmp')
rm -f "$bmp"
focus_mirvo
xdotool key ctrl+shift+w
poll 50 0.1 '[ -s "$bmp" ]' || true
check "the wallpaper is written upright" "$(identify -format '%w %h' "$bmp" 2>&1)" "300 400"
check "the wallpaper's top is red" "$(convert "$bmp" -format '%[fx:round(p{150,2}.r*255) > 180]' info: 2>&1)" 1
end_show
finish
