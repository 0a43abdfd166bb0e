# Sourced by check-window.sh and check-road.sh: Wine on a virtual display, in
# a prefix of the caller's own, both ended with the caller's script however
# it ends. Set before sourcing: root (the checkout), build (the cross build,
# relative to root), prefix (a folder name under it) and display.
export WINEPREFIX="$root/$build/$prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=" DISPLAY=$display
wineserver=/usr/lib/wine/wineserver64
# Every Wine call is bounded in time: $1 seconds.
wine() { timeout "$1" /usr/lib/wine/wine64 "${@:2}"; }
probe() { wine 30 "$root/$build/window_probe/window_probe.exe" "$@" | tr -d '\r'; }

# Waits up to $1 seconds for a command to succeed.
wait_for() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap '"$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
trap 'exit 143' TERM INT
wait_for 10 xdpyinfo -display "$display" >/dev/null 2>&1

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine 600 wineboot --init >/dev/null 2>&1
  # The session that made the prefix started its services before their
  # registry was there: COM's RpcSs cannot be started in it. The next one can.
  timeout 120 "$wineserver" -w
fi
# Wine draws the title bar itself, as Windows would, where no window manager
# does. It has no Arial and draws Liberation Sans, Arial's metric twin, in
# its place through fontconfig; named here, the face is also called Arial,
# as on Windows.
wine 30 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wine 30 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null
wine 30 reg delete 'HKCU\Software\VB and VBA Program Settings\Kestravon' /f >/dev/null 2>&1 || true
