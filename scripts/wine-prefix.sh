# Sourced by the Windows packaging scripts: Wine in a private prefix of
# their own, without a display, every call to it bounded in time, and every
# Wine process of that prefix ended with the calling script, however it ends.

wineserver=/usr/lib/wine/wineserver64
# The cross build runs its build-time tools (the hand pointer's) through this.
wine_emulator="timeout;120;/usr/lib/wine/wine64"

# wine SECONDS PROGRAM ARGUMENTS...: a Wine that hangs cannot hang the script.
wine() { timeout "$1" /usr/lib/wine/wine64 "${@:2}"; }

end_wine() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
}

# use_wine_prefix FOLDER: makes the prefix once and ends its Wine at exit.
use_wine_prefix() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all
  # Mono and Gecko are left out (nothing to download them from, nothing
  # needs them); so is the menu builder, which would copy the shortcuts the
  # setup program makes into the Linux desktop's own menu.
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  unset DISPLAY WAYLAND_DISPLAY
  trap end_wine EXIT
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine 600 wineboot --init
  fi
}
