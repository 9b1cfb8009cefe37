# Every display scale: at 96, 144 and 192 dots per inch (100, 150 and 200 %)
# the picture is laid out exactly in physical pixels, the clock's digits are
# wholly inside its box and on the screen, the settings dialog's client area
# grows with the scale and holds every control, none laid over another more
# than at 96 dpi, and a preview covers its host's client area, DPI-aware host
# or not. The scale is Wine's LogPixels; the server is restarted for each and
# the prefix is left at 96.
source "$(dirname "$0")/lib.sh"
clear_settings
use_pictures_folder
convert -size 400x200 xc:'#FF0000' "$pics/wide.jpg"
set_setting DisplayTime 600
set_setting ShowClock 1

# The bounding box "W H X Y" of the clock's (white) box in the lower right.
clock_box() {
  convert "$1" -crop 400x120+624+648 +repage -fuzz 8% -fill black +opaque white -format '%@' info: |
    sed 's/[x+]/ /g' | awk '{ print $1, $2, $3 + 624, $4 + 648 }'
}
# The bounding box "W H X Y" of the dark pixels inside a box given as W H X Y.
digits_box() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -colorspace gray -negate -threshold 50% -format '%@' info: |
    sed 's/[x+]/ /g' | awk -v x="$4" -v y="$5" '{ print $1, $2, $3 + x, $4 + y }'
}
declare -A overlaps
set_scale() {
  reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  wineserver -k 2>/dev/null || true
  sleep 1
}

for dpi in 144 192 96; do
  set_scale "$dpi"
  start_show 1.5
  shot="$E2E_WORK/show-$dpi.png"
  screenshot "$shot"
  check "$dpi dpi: the picture starts 128 px from the top" "$(first_red_row "$shot" 300)" 128
  check "$dpi dpi: the picture ends 639 px from the top" "$(last_red_row "$shot" 300)" 639
  read -r cw ch cx cy < <(clock_box "$shot")
  check "$dpi dpi: the clock's box is on the screen" \
    "$([ $((cx + cw)) -le 1024 ] && [ $((cy + ch)) -le 768 ] && [ "$cw" -gt 40 ] && echo yes || echo "no: $cw x $ch at $cx,$cy")" yes
  read -r dw dh dx dy < <(digits_box "$shot" "$cw" "$ch" "$cx" "$cy")
  check "$dpi dpi: the time is wholly inside the clock's box" \
    "$([ "$dx" -gt "$cx" ] && [ $((dx + dw)) -lt $((cx + cw)) ] && [ "$dy" -ge "$cy" ] && [ $((dy + dh)) -le $((cy + ch)) ] && [ "$dw" -gt $((cw / 2)) ] && echo yes || echo "no: digits $dw x $dh at $dx,$dy in $cw x $ch at $cx,$cy")" yes
  end_show

  start_mirvo /c
  driver wait "Orvandel - Settings" 20 >/dev/null
  read -r _ _ w h < <(driver rect "Orvandel - Settings")
  expected=$(awk -v d="$dpi" 'function r(v) { return int(v + 0.5) } BEGIN { print r(6720 * d / 1440), r(2490 * d / 1440) }')
  check "$dpi dpi: the settings dialog's client area" "$w $h" "$expected"
  driver children "Orvandel - Settings" >"$E2E_WORK/controls.txt"
  check "$dpi dpi: every control inside the client area" "$(awk -v w="$w" -v h="$h" \
    '$3 == 1 && ($4 < 0 || $5 < 0 || $4 + $6 > w || $5 + $7 > h) { print $2 }' "$E2E_WORK/controls.txt")" ""
  # The pairs of visible controls laid over each other (the frame holds the rest).
  overlaps[$dpi]=$(awk '$3 == 1 && $2 != 130 { id[n] = $2; x[n] = $4; y[n] = $5; r[n] = $4 + $6; b[n++] = $5 + $7 }
    END { for (i = 0; i < n; i++) for (j = i + 1; j < n; j++)
      if (x[i] < r[j] && x[j] < r[i] && y[i] < b[j] && y[j] < b[i]) printf "%s/%s ", id[i], id[j] }' "$E2E_WORK/controls.txt")
  driver click "Orvandel - Settings" "&Cancel" >/dev/null
  wait_mirvo 10 || true

  for kind in aware unaware; do
    driver host $((152 * dpi / 96)) $((112 * dpi / 96)) 8 $kind >/dev/null &
    host=$(driver wait "Preview host" 10)
    start_mirvo /p "$host"
    read -r _ _ hw hh < <(driver rect "Preview host")
    # Until the preview is in place, at most 10 s.
    poll 50 0.2 'seen=$(driver children "Preview host" | grep OrvandelSlideshow | cut -d " " -f 3-7); [ "$seen" = "1 0 0 $hw $hh" ]' || true
    check "$dpi dpi, $kind host: the preview covers its client area" "$seen" "1 0 0 $hw $hh"
    wait_mirvo 10 || true
  done
done
for dpi in 144 192; do
  check "$dpi dpi: no controls laid over each other but those at 96 dpi" "${overlaps[$dpi]}" "${overlaps[96]}"
done
finish
