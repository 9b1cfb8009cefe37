# Start-up: the About box, switches that open nothing, and the run-time
# error boxes of bad stored settings and a bad "/a" argument.
source "$(dirname "$0")/lib.sh"
clear_settings

start_mirvo /S
text=$(driver msgbox "About - Orvandel" 10)
year=$(date +%Y)
check "About box starts with the version line" "${text%%\\r*}" "Orvandel - Version: $ORVANDEL_VERSION (Quelbrin)"
check "About box has five carriage returns" "$(grep -o '\\r' <<<"$text" | wc -l)" 5
check "About box shows the year" "$(grep -c "$year" <<<"$text")" 1
check "About box ends with the install hint" "${text#*\\r\\r}" \
  "You can install this screensaver by rightclicking on it\\rand selecting 'Install' from the popup menu."
check "About box has the information icon" "$(driver icon "About - Orvandel")" info
driver click "About - Orvandel" OK
wait_mirvo 10
check "program ends when the About box closes" "$MIRVO_RC" 0

for switch in /P /A xyz /C; do
  start_mirvo "$switch"
  wait_mirvo 10 || true
  check "\"$switch\" ends at once without error" "$MIRVO_RC" 0
done

# A stored number out of range: the settings dialog still opens, with the
# default in its field, and OK stores a valid value; the show reports it.
set_setting DisplayTime 1e9
start_mirvo /c
driver wait "Orvandel - Settings" 20 >/dev/null
check "the dialog opens with the default display time" "$(driver itemtext "Orvandel - Settings" 102)" 5
driver click "Orvandel - Settings" "&OK"
wait_mirvo 15 || true
check "OK stores a valid display time" "$(reg query 'HKCU\Software\Orvandel\Settings' /v DisplayTime | awk '/REG_SZ/ { print $3 }')" 5
set_setting DisplayTime 1e9
start_mirvo /s
check "the show reports a stored display time of 1e9" "$(driver msgbox Orvandel 10)" "Run-time error '6':\\r\\rOverflow"
driver click Orvandel OK
wait_mirvo 10 || true
clear_settings

set_setting ScalePercentage 40000
start_mirvo /s
check "overflow box for a stored scale of 40000" "$(driver msgbox Orvandel 10)" "Run-time error '6':\\r\\rOverflow"
driver click Orvandel OK
wait_mirvo 10 || true
check "program ends with the error number" "$MIRVO_RC" 6
clear_settings

start_mirvo /a
check "\"/a\" alone shows the invalid-argument box" "$(driver msgbox Orvandel 10)" \
  "Run-time error '5':\\r\\rInvalid procedure call or argument"
driver click Orvandel OK
wait_mirvo 10 || true
check "program ends with error 5" "$MIRVO_RC" 5
finish
