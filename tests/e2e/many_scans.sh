# A progressive photo of 120 megapixels at full colour resolution in 94 scans
# (each component's coefficients in thin bands), alone in the folder and held:
# its 720 MB of coefficients do not fit the decoding budget and are decoded a
# band of block rows at a time, every scan's data read once. It is on the
# screen within 20 s and the show writes (almost) nothing on the way.
source "$(dirname "$0")/lib.sh"
clear_settings
set_setting ShowClock 0
set_setting DisplayTime 0
use_pictures_folder
temp=$(folder_of TEMP)
photo=$(made_photo scans94-120mp.jpg 12000 10000 --quality 90 --scans 94)
ln -f "$photo" "$pics/" 2>/dev/null || cp "$photo" "$pics/"

start=$(date +%s.%N)
start_mirvo /s
shown=no scratch=0 written=0 characters=0 pid=
while [ "$(awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN { print (n - s < 20) }')" = 1 ]; do
  [ -n "$pid" ] || pid=$(mirvo_process) || true
  if [ -n "$pid" ]; then
    value=$(io_counter "$pid" write_bytes) && [ -n "$value" ] && written=$value
    value=$(io_counter "$pid" wchar) && [ -n "$value" ] && characters=$value
  fi
  scratch=$((scratch + $(find "$temp" -maxdepth 1 -name 'Orvandel-*.tmp' 2>/dev/null | wc -l)))
  screenshot "$E2E_WORK/shown.png"
  [ "$(convert "$E2E_WORK/shown.png" -format '%[fx:mean > 0.2]' info:)" = 1 ] && shown=yes && break
  sleep 0.2
done
seconds=$(awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN { printf "%.1f", n - s }')
echo "  shown after $seconds s; written $((${written:-0} / 1048576)) MB to storage, $((${characters:-0} / 1048576)) MB through write calls"
check "the 94-scan photo is on the screen within 20 s" "$shown" yes
check "the show wrote at most 2 GB on the way, through no scratch file" \
  "$(awk -v w="${written:-0}" -v c="${characters:-0}" 'BEGIN { print (w <= 2^31 && c <= 2^31) }') $scratch" "1 0"
focus_mirvo && xdotool key Escape
wait_mirvo 20 || true
check "a key ends it" "$MIRVO_RC" 0
finish
