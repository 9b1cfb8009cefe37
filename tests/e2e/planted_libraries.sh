# Libraries come from the system folder only. Mirvo.scr imports nothing but
# Windows' known DLLs (and comctl32, which its manifest takes from the
# side-by-side store); and a library of ours that leaves a marker when it is
# loaded, planted under the names of the libraries the program uses beside
# Mirvo.scr and in the folder it starts from, with Wine told to prefer such a
# file as Windows does, is never loaded by the show (ended by a key with the
# password switch on), the settings dialog or "/a". (version.dll goes only in
# the start folder: Wine's own user32 imports it, so beside any program Wine
# loads it before the program's first line; Windows' user32 is a known DLL
# and does not.)
source "$(dirname "$0")/lib.sh"
: "${MARKER_LIBRARY:?the build passes the marker library}"
known=" advapi32 clbcatq combase comdlg32 coml2 gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt \
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 "
imports=$(x86_64-w64-mingw32-objdump -p "$MIRVO" | awk '/DLL Name:/ { print tolower($3) }' | sed 's/\.dll$//')
others=$(for dll in $imports; do [[ "$known comctl32 " == *" $dll "* ]] || echo "$dll"; done)
check "only known DLLs imported" "$(echo $others)" ""
app="$E2E_WORK/app" start="$E2E_WORK/start"
mkdir -p "$app" "$start"
cp "$MIRVO" "$app/"
MIRVO="$app/Mirvo.scr"
for name in password.cpl mpr.dll version.dll winmm.dll mscms.dll; do
  cp "$MARKER_LIBRARY" "$start/$name"
  [ "$name" = version.dll ] || cp "$MARKER_LIBRARY" "$app/$name"
done
export WINEDLLOVERRIDES="mpr,version,winmm,mscms=n,b;mscoree,mshtml=;winedbg.exe=d"
# Started from $start; everything else runs elsewhere.
from_start() { cd "$start"; start_mirvo "$@"; cd "$E2E_WORK"; }
cd "$E2E_WORK"
clear_settings
use_pictures_folder
convert -size 64x48 xc:red "$pics/red.jpg"
desktop='HKCU\Control Panel\Desktop'
switch=$(reg query "$desktop" /v ScreenSaveUsePassword | awk '/REG_SZ/ { print $3 }' || true)
reg add "$desktop" /v ScreenSaveUsePassword /t REG_SZ /d 1 /f >/dev/null

from_start /s
driver wait Orvandel 20 >/dev/null || true
sleep 1
focus_mirvo
xdotool key a
wait_mirvo 10 || true
check "the show ends at a key with the password switch on" "$MIRVO_RC" 0
from_start /c
driver wait "Orvandel - Settings" 20 >/dev/null || true
driver close "Orvandel - Settings"
wait_mirvo 10 || true
check "the settings dialog opens and closes" "$MIRVO_RC" 0
from_start /a 0
wait_mirvo 10 || true
check "\"/a 0\" ends" "$MIRVO_RC" 0
check "no planted library was loaded" "$(cd "$E2E_WORK" && find app start -name '*.loaded' | sort | tr '\n' ' ')" ""

if [ -n "$switch" ]; then reg add "$desktop" /v ScreenSaveUsePassword /t REG_SZ /d "$switch" /f >/dev/null
else reg delete "$desktop" /v ScreenSaveUsePassword /f >/dev/null || true; fi
finish
