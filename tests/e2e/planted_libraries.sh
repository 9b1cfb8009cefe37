# Libraries come from the system folder only: Mirvo.scr imports only known
# DLLs (and comctl32, from the side-by-side store), and a marker library of
# ours planted as the libraries it uses, beside a copy of it and in the folder
# it starts from, with Wine preferring such files as Windows does, is never
# loaded by /s (ended by a key, password switch on), /c or /a. (version.dll
# only in the start folder: Wine's own user32 imports it, Windows' does not.)
source "$(dirname "$0")/lib.sh"
known=" advapi32 clbcatq combase comctl32 comdlg32 coml2 gdi32 gdiplus imagehlp imm32 kernel32 msctf \
  msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 "
check "only known DLLs imported" "$(x86_64-w64-mingw32-objdump -p "$MIRVO" | awk '/DLL Name:/ { print tolower($3) }' |
  sed 's/\.dll$//' | while read -r dll; do [[ "$known" == *" $dll "* ]] || echo -n "$dll "; done)" ""
app="$E2E_WORK/app" start="$E2E_WORK/start"
mkdir -p "$app" "$start" && cp "$MIRVO" "$app/" && MIRVO="$app/Mirvo.scr"
for name in password.cpl mpr.dll winmm.dll mscms.dll version.dll; do
  cp "${MARKER_LIBRARY:?}" "$start/$name"
  [ $name = version.dll ] || cp "$MARKER_LIBRARY" "$app/$name"
done
export WINEDLLOVERRIDES="mpr,version,winmm,mscms=n,b;mscoree,mshtml=;winedbg.exe=d"
clear_settings
desktop='HKCU\Control Panel\Desktop'
switch=$(reg_value "$desktop" ScreenSaveUsePassword || true)
reg add "$desktop" /v ScreenSaveUsePassword /t REG_SZ /d 1 /f >/dev/null
for run in /s /c "/a 0"; do
  cd "$start" && start_mirvo $run && cd "$E2E_WORK" # started from $start
  case $run in
  /s) driver wait Orvandel 20 >/dev/null || true; sleep 1; focus_mirvo; xdotool key a ;;
  /c) driver wait "Orvandel - Settings" 20 >/dev/null || true; driver close "Orvandel - Settings" ;;
  esac
  wait_mirvo 10 || true
  check "$run ends as usual" "$MIRVO_RC" 0
done
check "no planted library was loaded" "$(cd "$E2E_WORK" && find app start -name '*.loaded' | sort | tr '\n' ' ')" ""
reg add "$desktop" /v ScreenSaveUsePassword /t REG_SZ /d "${switch:-0}" /f >/dev/null
finish
