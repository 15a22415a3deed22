# Sourced with a prefix path: sets Wine's environment for that prefix and creates the prefix once, under a lock.
# The 64-bit loader is run directly: the wine wrapper script has hung here.
export WINEPREFIX=$(realpath -m "$1")  # Wine needs an absolute path
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEARCH=win64
export WINEDEBUG=-all
# No desktop menu entries for the test programs.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
# Code page 1252 inside Wine.
export LC_ALL=C.UTF-8

if [ ! -e "$WINEPREFIX/.tarnctx-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -e "$WINEPREFIX/.tarnctx-ready" ]; then
      "$WINELOADER" wineboot -i >/dev/null 2>&1
      # No crash dialog, and no 2 s wait per window for a window manager that Xvfb lacks.
      "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.tarnctx-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
