# The settings dialog as a user meets it: title, size and layout, the
# folder check on Tab, OK refused by a bad field, OK and Cancel against the
# registry, the file and folder pickers, and Play with a generated WAV.
source "$(dirname "$0")/lib.sh"
T="Orvandel - Settings"
KEY='HKCU\Software\Orvandel\Settings'
clear_settings

# One line per control id: "x y w h" in client pixels (96 dpi: 15 twips a pixel).
geometry() { driver children "$T" | awk -v id="$1" '$2 == id { print $4, $5, $6, $7 }'; }
type_keys() {
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$T\$" | head -n 1)"
  xdotool key --delay 100 "$@"
}
settings_values() { reg query "$KEY" | grep REG_ || true; }

start_mirvo /c
driver wait "$T" 30 >/dev/null
check "title" "$(driver text "$T")" "$T"
read -r _ _ cw ch <<<"$(driver rect "$T")"
check "client area 6720 x 2490 twips" "$cw $ch" "448 166"
check "folder field" "$(geometry 101)" "136 24 224 19"
check "OK" "$(geometry 1)" "104 136 97 25"
check "Back" "$(geometry 119)" "384 80 25 19"
check "Back and Next hidden at open" "$(driver children "$T" | awk '$2 == 119 || $2 == 120 { print $3 }' | tr '\n' ' ')" "0 0 "
check "focus starts in the folder field" "$(driver focus "$T")" "101 Edit"
check "folder field holds the program's folder" "$(driver itemtext "$T" 101)" "$(winpath "$(dirname "$MIRVO")")"
check "display time 5" "$(driver itemtext "$T" 102)" "5"
check "scale 100" "$(driver itemtext "$T" 104)" "100"
screenshot "$E2E_WORK/settings.png"

# A missing folder and Tab: refused, the focus and the text stay.
missing='C:\no\such\folder'
driver settext "$T" 101 "$missing"
type_keys Tab
check "Tab from a missing folder is refused" "$(driver msgbox Orvandel 10)" "Invalid dir!"
check "with the information icon" "$(driver icon Orvandel)" info
screenshot "$E2E_WORK/invalid-dir.png"
driver click Orvandel OK
driver gone Orvandel 5 || true
sleep 0.3
check "focus stays in the folder field" "$(driver focus "$T")" "101 Edit"
check "typed text stays" "$(driver itemtext "$T" 101)" "$missing"

# OK with the refused entry: refused again, nothing written.
driver click "$T" "&OK"
check "OK with a refused folder shows the message" "$(driver msgbox Orvandel 10)" "Invalid dir!"
driver click Orvandel OK
driver gone Orvandel 5 || true
sleep 0.3
check "nothing written" "$(settings_values)" ""
check "dialog still open" "$(driver text "$T")" "$T"

# Valid edits, then OK: exactly the five REG_SZ values.
mkdir -p "$E2E_WORK/pics"
pics=$(winpath "$E2E_WORK/pics")
driver settext "$T" 101 "$pics"
driver settext "$T" 102 "7.6"
driver click "$T" "&OK"
wait_mirvo 15 || true
check "OK ends the program" "$MIRVO_RC" 0
check "exactly five REG_SZ values" "$(settings_values | awk '{ print $1, $2 }' | sort | tr '\n' ' ')" \
  "DisplayTime REG_SZ MPEGFile REG_SZ PicturesPath REG_SZ ScalePercentage REG_SZ ShowClock REG_SZ "
check "folder written" "$(reg query "$KEY" /v PicturesPath | awk '/REG_SZ/ { sub(/^.*REG_SZ +/, ""); print }')" "$pics"
check "7.6 written as 8" "$(reg query "$KEY" /v DisplayTime | awk '/REG_SZ/ { print $3 }')" 8
check "clock written as 1" "$(reg query "$KEY" /v ShowClock | awk '/REG_SZ/ { print $3 }')" 1
check "scale written as 100" "$(reg query "$KEY" /v ScalePercentage | awk '/REG_SZ/ { print $3 }')" 100

# Cancel after edits leaves the registry as it was.
before=$(settings_values)
start_mirvo /c
driver wait "$T" 30 >/dev/null
check "stored display time is shown" "$(driver itemtext "$T" 102)" "8"
driver settext "$T" 102 "99"
driver click "$T" "&Cancel"
wait_mirvo 15 || true
check "Cancel ends the program" "$MIRVO_RC" 0
check "Cancel writes nothing" "$(settings_values)" "$before"

# The pickers open with their titles and change nothing when cancelled.
start_mirvo /c
driver wait "$T" 30 >/dev/null
driver settext "$T" 105 'C:\kept.mp3'
driver clickid "$T" 118
check "file picker opens" "$(driver text "Orvandel - Select WAV/MP3/M3U File" 2>&1)" "Orvandel - Select WAV/MP3/M3U File"
screenshot "$E2E_WORK/file-picker.png"
picker=$(driver children "Orvandel - Select WAV/MP3/M3U File")
check "MP3 filter preselected" "$(grep -c '"MPEG Layer-III (\*.mp3)"' <<<"$picker")" 1
check "starts in the program's folder" "$(grep -c "\"$(basename "$(dirname "$MIRVO")")\"" <<<"$picker")" 1
driver close "Orvandel - Select WAV/MP3/M3U File"
if driver gone "Orvandel - Select WAV/MP3/M3U File" 10; then closed=yes; else closed=no; fi
check "file picker closes on Cancel" "$closed" yes
check "music field unchanged" "$(driver itemtext "$T" 105)" 'C:\kept.mp3'
# The browser shows the title above its tree; its caption is the system's.
B="Browse for Folder"
driver clickid "$T" 115
driver wait "$B" 10 >/dev/null || true
check "folder picker shows its title" "$(driver children "$B" | grep -c '"Orvandel - Select Path"')" 1
screenshot "$E2E_WORK/folder-picker.png"
driver click "$B" Cancel
driver gone "$B" 10 || true
check "folder field unchanged" "$(driver itemtext "$T" 101)" "$pics"

# Play a generated WAV: sound is produced; Stop and closing the dialog end it.
sox -n -r 22050 -c 1 -b 16 "$E2E_WORK/tone.wav" synth 20 sine 440 2>/dev/null
prefix=${WINEPREFIX:-$ROOT/build/win64/wineprefix}
sound=${ORVANDEL_SOUND_FILE:-$(dirname "$prefix")/sound.raw}
size() { stat -c %s "$sound" 2>/dev/null || echo 0; }
grows() { # grows SECONDS: yes when the sound file grows within that time
  local start; start=$(size)
  for _ in $(seq $(($1 * 10))); do [ "$(size)" -gt "$start" ] && { echo yes; return; }; sleep 0.1; done
  echo no
}
stays() { local a; sleep 0.5; a=$(size); sleep 1; [ "$(size)" -eq "$a" ] && echo yes || echo no; }
driver settext "$T" 105 "$(winpath "$E2E_WORK/tone.wav")"
driver click "$T" "&P"
check "Play produces sound" "$(grows 10)" yes
driver click "$T" "&S"
check "Stop ends it" "$(stays)" yes
driver click "$T" "&P"
check "Play again" "$(grows 10)" yes
driver close "$T"
wait_mirvo 15 || true
check "closing the dialog ends the program" "$MIRVO_RC" 0
check "and the sound" "$(stays)" yes
finish
