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
use_photo scans94-120mp.jpg 12000 10000 --quality 90 --scans 94

start=$(now)
start_mirvo /s
shown=no scratch=0 written=0 characters=0 pid=
while within "$start" 20; do
  pid=${pid:-$(mirvo_process)}
  written=$(io_counter "$pid" write_bytes "$written") characters=$(io_counter "$pid" wchar "$characters")
  scratch=$((scratch + $(scratch_files)))
  bright "$E2E_WORK/shown.png" && shown=yes && break
  sleep 0.2
done
echo "  shown after $(since "$start") s; written $((written / 1048576)) MB to storage, $((characters / 1048576)) MB through write calls"
check "the 94-scan photo is on the screen within 20 s" "$shown" yes
check "the show wrote at most 2 GB on the way, through no scratch file" \
  "$(awk -v w="$written" -v c="$characters" 'BEGIN { print (w <= 2^31 && c <= 2^31) }') $scratch" "1 0"
end_show Escape 20
check "a key ends it" "$MIRVO_RC" 0
finish
