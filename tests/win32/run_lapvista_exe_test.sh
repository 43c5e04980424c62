#!/usr/bin/env bash
# lapvista.exe under Wine on a virtual X screen: opened with a gplsim replay and the
# commands "dblclick 1" and "press speed", its plot area must hold the pixels lapvista-cli
# draws for the same sequence; then a real right-click at x 600 must add what "rclick 600"
# adds, and a click on the scroll bar's right arrow what "scroll 1" and "scroll 8" do.
# Compared: every pixel of the plot area (client x 0..1816, y 0..1021, everything above the
# scroll bar and left of the control column) except the boxes of the texts and ellipses the
# dialog drew (taken from lapvista-cli's events, with a margin), whose glyphs and edges are
# the platform's. The quick overview box the load shows is closed with Return and the window
# with Escape, as a person would.
set -euo pipefail
gplsim=$1 cli=$2 exe=$3 wine_run=$4

for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 0; }
done

dir=$(mktemp -d)
xvfb= app=
cleanup() {
  [[ -n $app ]] && kill "$app" 2>/dev/null || true
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$dir/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [[ -s $dir/display ]] && break; sleep 0.1; done
[[ -s $dir/display ]] || { echo "SKIPPED: Xvfb did not start"; exit 0; }
export DISPLAY=:$(cat "$dir/display")
# Wine processes still running from an earlier program would show windows on their display.
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver 2>/dev/null | head -n 1)
WINEPREFIX=$(dirname "$wine_run")/wineprefix "$wineserver" -k 2>/dev/null || true

# Folder names with a blank and letters beyond ASCII cross the UTF-16 boundary both ways.
drive="$dir/Fahrt ü"
drive=$(printf "$drive")
"$gplsim" --out "$drive" --laps 3 --name demo >/dev/null
replay=$drive/gpl/replay/demo.rpy
commands=(-e "dblclick 1" -e "press speed")
"$cli" --ini-dir "$drive" -e "load $replay" "${commands[@]}" --png "$dir/cli.png" >"$dir/events"
"$cli" --ini-dir "$drive" -e "load $replay" "${commands[@]}" -e "rclick 600" \
  --png "$dir/cli-rclick.png" >"$dir/events-rclick"
# A click on the scroll bar's right arrow: one line to the right, then the end of scrolling.
"$cli" --ini-dir "$drive" -e "load $replay" "${commands[@]}" -e "rclick 600" \
  -e "scroll 1" -e "scroll 8" --png "$dir/cli-scroll.png" >"$dir/events-scroll"

# The Windows side reads the same drive through Wine's drive Z:, its "Vantor.ini" written
# with backslashes as on Windows.
windows() { printf 'Z:%s' "${1//\//\\}"; }
ini=$(printf "$dir/Einstellungen \u00e4")
mkdir "$ini"
windows "$drive/gpl/" >"$ini/Vantor.ini"
LANG=C.UTF-8 "$wine_run" "$exe" --ini-dir "$(windows "$ini")" "$(windows "$replay")" \
  "${commands[@]}" >"$dir/exe.out" 2>"$dir/exe.err" &
app=$!

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 5))); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$app" 2>/dev/null || { echo "lapvista.exe ended early:"; cat "$dir/exe.err"; exit 1; }
    sleep 0.2
  done
  return 1
}
wait_for 120 xdotool search --name "^Quick overview" ||
  { echo "FAILED: the load's overview box did not appear"; cat "$dir/exe.err"; exit 1; }
xdotool key Return
wait_for 60 grep -q '^ready' "$dir/exe.out" ||
  { echo "FAILED: the box was not closed by Return, or the commands did not finish"; exit 1; }
xdotool search --name "^Quick overview" >/dev/null 2>&1 &&
  { echo "FAILED: the overview box is still open"; exit 1; }
# Wine shows the dialog's client area as the X window that carries the dialog's caption;
# it is looked up for every picture, since Wine may still move it after "ready".
locate_client_area() {
  local window
  window=$(xdotool search --name "^Lapvista$" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  (( WIDTH >= 1817 && HEIGHT >= 1022 )) || { echo "FAILED: the window is only ${WIDTH}x$HEIGHT"; exit 1; }
}

# plot_differs NAME: how many unmasked pixels of the window's plot area differ from
# lapvista-cli's picture NAME (cli-NAME.png, events-NAME); text and ellipse boxes are masked
# on both pictures alike.
plot_differs() {
  local name=$1
  locate_client_area
  import -window root "$dir/root.png"
  convert "$dir/root.png" -crop "1817x1022+$X+$Y" +repage "$dir/exe-$name.png"
  convert "$dir/cli-$name.png" -crop 1817x1022+0+0 +repage "$dir/cli-$name-plot.png"
  awk '$1 == "text" { n = length($0) - length($1 $2 $3) - 3
                      printf "rectangle %d,%d %d,%d\n", $2 - 2, $3 - 2, $2 + 10 * n + 4, $3 + 22 }
       function min(a, b) { return a < b ? a : b }
       function max(a, b) { return a > b ? a : b }
       $1 == "ellipse" { printf "rectangle %d,%d %d,%d\n", min($2, $4) - 3, min($3, $5) - 3,
                                max($2, $4) + 3, max($3, $5) + 3 }' \
    "$dir/events-$name" >"$dir/mask-$name.mvg"
  for picture in "exe-$name" "cli-$name-plot"; do
    convert "$dir/$picture.png" -fill magenta -draw "$(cat "$dir/mask-$name.mvg")" \
      "$dir/$picture-masked.png"
  done
  compare -metric AE "$dir/exe-$name-masked.png" "$dir/cli-$name-plot-masked.png" null: 2>&1 || true
}
count_colour() {  # count_colour PICTURE #RRGGBB: its pixels of that colour
  convert "$1" -format %c histogram:info:- | awk -v c="$2" 'index($0, c) { n += $1 } END { print n + 0 }'
}
# check NAME: waits up to 10 s for the window to show lapvista-cli's picture.
failed=0
check() {
  local name=$1 differing=
  for _ in $(seq 10); do
    differing=$(plot_differs "$name")
    [[ $differing == 0 ]] && break
    sleep 1
  done
  # Something must be drawn, or two empty pictures would pass: lap 1's curves in red.
  local curve masked
  curve=$(count_colour "$dir/cli-$name-plot-masked.png" "#F00028")
  masked=$(count_colour "$dir/cli-$name-plot-masked.png" "#FF00FF")
  echo "$name: plot area 1817x1022, $differing pixels differ; $curve pixels of lap 1's curves;" \
    "$masked pixels masked ($(grep -c . "$dir/mask-$name.mvg") text and ellipse boxes)"
  if [[ $differing != 0 || $curve -lt 1000 ]]; then
    failed=$((failed + 1))
    local out=${LAPVISTA_TEST_KEEP:-/tmp}/lapvista-exe-test
    mkdir -p "$out" && cp "$dir"/*.png "$out"/
    echo "FAILED: pictures kept in $out"
  fi
}
mv "$dir/events" "$dir/events-start"
mv "$dir/cli.png" "$dir/cli-start.png"
check start
locate_client_area
xdotool mousemove $((X + 600)) $((Y + 400)) click 3
check rclick
# The picture compared holds the readout's cursor: a black line down pixel column 600.
convert "$dir/cli-rclick-plot.png" -crop 1x1022+600+0 +repage "$dir/cursor.png"
cursor=$(count_colour "$dir/cursor.png" "#000000")
[[ $cursor -ge 1000 ]] || { echo "FAILED: no cursor line at x 600"; failed=$((failed + 1)); }

# The arrow's middle: the bar runs along the bottom, 18 pixels high from y 1022, to x 1908.
xdotool mousemove $((X + 1899)) $((Y + 1031)) click 1
check scroll

xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$app" 2>/dev/null; then
  echo "FAILED: Escape did not end the dialog"
  failed=$((failed + 1))
else
  wait "$app" || { echo "FAILED: lapvista.exe ended with status $?"; failed=$((failed + 1)); }
  app=
fi
echo "$((5 - failed)) passed, $failed failed"
((failed == 0))
