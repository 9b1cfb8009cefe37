# Hostile music: a device name as the music or in a playlist, a picture under
# a music name, 300 tracks that cannot be played. The show keeps the screen
# and the keyboard each time, and a key ends it as without music.
source "$(dirname "$0")/lib.sh"
clear_settings
export WINEDEBUG=trace+mci
use_pictures_folder
convert -size 64x64 xc:'#00FF00' "$pics/green.jpg"
set_setting DisplayTime 60
music="$E2E_WORK/music" && mkdir -p "$music"
convert -size 320x240 xc:red "png:$music/fake.wav"
printf 'AUX.mp3\r\nC:\\any\\COM1.mp3\r\n' >"$music/devices.m3u"
for i in $(seq 1 300); do : >"$music/empty$i.mp3" && printf 'empty%d.mp3\r\n' "$i"; done >"$music/empty.m3u"
commands() { tr -d '\r' <"$E2E_WORK/mirvo.out" | sed -n 's/.*:mciSendStringW (L"\(.*\)", [0-9A-F]*, [0-9]*, [0-9A-F]*)$/\1/p'; }

show_with() { # NAME MUSIC
  set_setting MPEGFile "$2"
  start_show 2
  check "$1: the show keeps the foreground" "$(driver foreground | cut -d' ' -f1)" OrvandelSlideshow
  screenshot "$E2E_WORK/shot.png"
  check "$1: nothing covers the picture" "$(colour "$E2E_WORK/shot.png" 512 384)" green
  focus_mirvo && xdotool key x
  local took && took=$(seconds_to_end 20)
  check "$1: a key ends the show ($took s)" "$(awk -v t="$took" 'BEGIN { print (t <= 3.5) ? "yes" : "no" }')" yes
}
show_with "COM1.mp3 as the music" 'C:\any\COM1.mp3'
check "COM1.mp3 is never opened" "$(commands | grep -c '^open ')" 0
show_with "a playlist of devices" "$(winpath "$music")\\devices.m3u"
check "its devices are never opened" "$(commands | grep -c '^open ')" 0
show_with "a picture as fake.wav" "$(winpath "$music")\\fake.wav"
check "it plays in a hidden window, repeating" "$(commands | grep -E '^(open|play) ' | sed 's/ type MPEGVideo Alias mp3 style child parent [0-9]*$/ hidden/;s/^open .* hidden/open hidden/')" \
  "open hidden
play mp3 repeat"
show_with "300 empty tracks" "$(winpath "$music")\\empty.m3u"
echo "300 empty tracks: $(commands | grep -c '^open ') tried before the key"
finish
