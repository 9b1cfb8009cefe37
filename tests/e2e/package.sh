# The installer package in a Wine prefix of its own: a working Mirvo.scr in the
# system folder and one entry under installed apps, however often installed; the
# active screen saver left alone; replaced in place by a newer package, refusing
# to replace one; uninstalled cleanly, the user's settings kept.
source "$(dirname "$0")/lib.sh"
export WINEPREFIX=$E2E_WORK/prefix
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT # (the prefix takes 700 MB)
scr=$WINEPREFIX/drive_c/windows/system32/Mirvo.scr newer=$E2E_WORK/newer.msi
msiexec() { "$WINE_RUN" msiexec "$1" "$(winpath "$2")" "${3:-/qn}" >/dev/null 2>&1 && echo 0 || echo failed; }
entries() { reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | grep -c 'DisplayName *REG_SZ *Orvandel$'; }
entry() { # the values $2... of the installed-apps entry of package $1, joined by "|"
  local key=HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(msiinfo export "$1" Property | tr -d '\r' | awk '$1 == "ProductCode" { print $2 }')
  for name in "${@:2}"; do reg_value "$key" "$name"; done | paste -sd '|'
}

check "the package carries Mirvo.scr's version" "$(msiinfo export "$MSI" File | awk '$1 == "MirvoScr" { print $5 }')" "$ORVANDEL_VERSION.0"
check "the package installs Mirvo.scr into the system folder" "$(msiexec /i "$MSI"):$(cmp "$MIRVO" "$scr" && echo same)" 0:same
check "installed apps: name, version, publisher, icon" "$(entry "$MSI" DisplayName DisplayVersion Publisher)|$(ls "$WINEPREFIX"/drive_c/windows/Installer/*/)" \
  "Orvandel|$ORVANDEL_VERSION|The Orvandel team|mirvo.ico"
check "the active screen saver is left alone" "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE || echo none)" none
MIRVO='C:\windows\system32\Mirvo.scr' start_mirvo /S
check "the installed Mirvo.scr shows its About box" "$(driver msgbox "About - Orvandel" 20 | sed 's/\\r.*//')" "Orvandel - Version: $ORVANDEL_VERSION (Quelbrin)"
driver click "About - Orvandel" OK >/dev/null; wait_mirvo 10 || true
check "installing twice leaves one entry" "$(msiexec /i "$MSI"):$(entries)" 0:1

cp "$MIRVO" "$ROOT/res/mirvo.ico" "$E2E_WORK/"
(cd "$E2E_WORK" && "$WIXL" -a x64 -D Version=99.0.0 -D MirvoScr=Mirvo.scr -D Icon=mirvo.ico -o "$newer" "$ROOT/res/orvandel.wxs")
check "a newer package replaces it in place" "$(msiexec /i "$newer"):$(entries):$(entry "$newer" DisplayVersion)" 0:1:99.0.0
msiexec /i "$MSI" /qb >"$E2E_WORK/older" & # with the basic interface, which shows why it stops
check "an older package says why it stops" "$(driver msgbox "Install Failed" 20)" "A newer version of Orvandel is already installed."
driver click "Install Failed" OK >/dev/null && wait $!
check "... and leaves the newer one" "$(cat "$E2E_WORK/older"):$(entries):$(entry "$newer" DisplayVersion)" failed:1:99.0.0

set_setting DisplayTime 7
check "uninstalling removes the file and the entry, not the user's settings" \
  "$(msiexec /x "$newer"):$(ls "$scr" 2>/dev/null):$(entries):$(reg_value 'HKCU\Software\Orvandel\Settings' DisplayTime)" 0::0:7
finish
