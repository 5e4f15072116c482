#!/usr/bin/env bash
# null-driver.sh WINE_SH
# Makes Wine's null driver the display driver of $WINEPREFIX, once: windows
# then exist and take messages with no X server. The wineserver started
# before the change is restarted so that the desktop takes the new driver.
set -euo pipefail
wine_sh=$1
mark="$WINEPREFIX/.quarvel-null-driver"
if [ ! -e "$mark" ]; then
  bash "$wine_sh" run 120 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
  bash "$wine_sh" stop
  touch "$mark"
  bash "$wine_sh" boot
fi
