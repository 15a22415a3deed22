#!/bin/bash
# The job of a new image's first boot: creates the 32-bit Wine prefix that every test run starts from.
set -euo pipefail
timeout 300 "$WINELOADER" wineboot -i
# No crash dialog, and no 2 s wait per window for a window manager that Xvfb lacks.
timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
timeout 60 "$WINESERVER" -w
