#!/usr/bin/env bash
# The Win32 window, looked at under Wine on a virtual display as a person
# would: every control's rectangle against the layout table at 96 and at
# 144 DPI (window_probe places), "Highlight entire row" ticked and unticked
# and found in the registry across restarts, a highlight button pressed
# without Excel and the message box found, and a screenshot of the window
# for the README (docs/window-windows.png). Usage: check-window.sh BUILD_DIR
# (the cross build, with vantrelo.exe and window_probe.exe built). Every Wine
# process and the display end with this script; each is bounded in time.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../../.." && pwd)
program="$build/vantrelo/app/vantrelo.exe"
display=:97

export WINEPREFIX="$root/$build/window-prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=" DISPLAY=$display
wineserver=/usr/lib/wine/wineserver64
wine() { timeout "$1" /usr/lib/wine/wine64 "${@:2}"; }
probe() { wine 30 "$build/window_probe/window_probe.exe" "$@"; }
registry_value() {
  wine 30 reg query 'HKCU\Software\VB and VBA Program Settings\Kestravon\Vantrelo' \
    /v 'Highlight Entire Row' 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}'
}

Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap '"$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
sleep 1

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine 600 wineboot --init >/dev/null 2>&1
fi
# Wine draws the title bar itself, as Windows would, where no window manager does.
wine 30 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wine 30 reg delete 'HKCU\Software\VB and VBA Program Settings\Kestravon' /f >/dev/null 2>&1 || true

start() {
  wine 120 "$program" >/dev/null 2>&1 &
  probe where >/dev/null
}
stop() {
  probe close
  "$wineserver" -w
}
failed=0
fail() { echo "FAILED: $*"; failed=1; }

for dpi in 96 144; do
  wine 30 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null
  "$wineserver" -k; "$wineserver" -w
  start
  probe places || fail "the controls do not stand where the layout table puts them at $dpi DPI"
  if [ $dpi = 96 ]; then
    read -r left top width height < <(probe where | tr -d '\r')
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$build/window-windows.png"
  fi
  stop
done
wine 30 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
"$wineserver" -k; "$wineserver" -w

echo "== Highlight entire row, kept in the registry across restarts"
start
probe click Check7
sleep 1
[ "$(registry_value)" = 1 ] || fail "ticking did not store 1"
stop
start
[ "$(probe checked Check7 | tr -d '\r')" = 1 ] || fail "the restart did not restore the tick"
probe click Check7
sleep 1
[ "$(registry_value)" = 0 ] || fail "unticking did not store 0"
stop
start
[ "$(probe checked Check7 | tr -d '\r')" = 0 ] || fail "the restart did not restore the untick"
stop
[ $failed = 1 ] || echo "stored and restored: 1, then 0"

echo "== A highlight button without Excel"
start
book="$root/$build/wine-window-check/some.xlsx"
mkdir -p "$(dirname "$book")"
printf 'Excel never gets to open this' >"$book"
probe type txtExcelFile "Z:${book//\//\\}"
probe click Check6
message=$(probe message | tr -d '\r')
echo "$message"
grep -q "Excel could not be started" <<<"$message" || fail "no message box said Excel could not be started"
stop

[ $failed = 0 ] && echo "The Win32 window matches its layout, keeps its option and says when Excel is missing."
exit $failed
