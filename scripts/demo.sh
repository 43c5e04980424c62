#!/usr/bin/env bash
# Sets up the machine, builds the release programs, generates a demo drive with gplsim and
# analyses it with lapvista-cli: loads it (lap list, quick overview), chooses two laps, shows
# the initially shown channels plus "t Differenz", and writes the picture and the datasheet.
# With a display it then opens the window on the same drive with the same two laps chosen.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

bin=build/release/bin
demo=demo
rm -rf "$demo"
"$bin/gplsim" --out "$demo" --laps 5 --fps 60 --tel-version 7 --seed 1
"$bin/lapvista-cli" --ini-dir "$demo" --png "$demo/lapvista.png" \
  -e "load $demo/gpl/replay/demo.rpy" -e "dblclick 2" -e "dblclick 3" \
  -e "press t Differenz" -e "press ?" >"$demo/events.txt"

# The lap list and the message boxes; the drawing events stay in the events file.
awk '/^list\+ / {print "lap list: " substr($0, 7)}
     /^msgbox / {print ""; print "[" substr($0, 8) "]"; inbox = 1; next}
     /^msgbox-end/ {inbox = 0}
     inbox {print substr($0, 3)}' "$demo/events.txt" | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' | cat -s
echo
echo "The picture of the two laps is $demo/lapvista.png; all events are in $demo/events.txt."

open_window=("$bin/lapvista" --ini-dir "$demo" "$demo/gpl/replay/demo.rpy" -e "dblclick 2" -e "dblclick 3")
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]] && [[ -x "$bin/lapvista" ]]; then
  echo
  echo "Opening the window: close the quick overview with OK, then double-click laps, press"
  echo "channels, right-click the graphs. Closing the window ends the demo."
  "${open_window[@]}" >/dev/null || echo "The window could not open (Lapvista needs X11 or XWayland)."
else
  echo
  echo "On a desktop, open the window with:"
  # Quoted as a shell would need them, so the line can be pasted as it stands.
  printf '  %s\n' "$(printf '%q ' "${open_window[@]}")"
fi
