#!/usr/bin/env bash
# The desktop window under a real X server (Xvfb, started here), driven by real mouse and
# keyboard events (xdotool) and checked by screenshots (ImageMagick):
#   1. the window opens with its controls on the pixels the catalogue gives them;
#   2. a start-up file with "-e" commands shows the same plot area as lapvista-cli --png, after
#      the quick overview box has been closed with Return;
#   3. a real double-click on a lap list line chooses that lap;
#   4. a real right-click over the plot area shows the readout there and fills the value boxes;
#   5. after "ld M", a real double-click on another driver's lap line in the tree imports it;
#   6. a saved-laps file that another program rewrites and cuts while it is loaded still
#      draws its laps as saved;
#   and the first mouse movement over the window opens the file dialog of "load".
# Usage: run_gui_tests.sh BIN_DIR. Exits 77 (skipped) where Xvfb or the tools are missing.
set -euo pipefail

bin=$(cd "$1" && pwd)
if [[ -z "${LAPVISTA_GUI_DISPLAY_STARTED:-}" ]]; then
  for tool in Xvfb xdotool import compare; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed (scripts/setup-debian.sh installs it)"
      exit 77
    fi
  done
  # The server picks a free display itself and names it (-displayfd): guessing a free number,
  # as xvfb-run -a does, races with other X servers starting on the same machine. Without
  # -noreset the server resets whenever its last client leaves, and a window opened in that
  # moment is refused ("Can't open display"): each step here ends lapvista before the next starts.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $displayfile ]] && break; sleep 0.1; done
  display=$(cat "$displayfile")
  rm -f "$displayfile"
  if [[ -z $display ]]; then
    kill "$xvfb" 2>/dev/null || true
    echo "SKIPPED: Xvfb did not start"
    exit 77
  fi
  status=0
  DISPLAY=":$display" LAPVISTA_GUI_DISPLAY_STARTED=1 "$0" "$@" || status=$?
  kill "$xvfb" 2>/dev/null || true
  exit "$status"
fi

# Under AddressSanitizer: fontconfig, Xft and Cairo keep their caches to the end of the
# process, which leak checking would report; every other check stays on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

# Waits (up to two minutes) until `condition` succeeds; a slow machine only waits longer.
wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + 120))
  while ((SECONDS < deadline)); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  fail "waited two minutes for $what${last_difference:+ ($last_difference)}"
}
last_difference=""

"$bin/gplsim" --out "$work/drive" --laps 4 --fps 60 --tel-version 7 --seed 2 >/dev/null
replay="$work/drive/gpl/replay/demo.rpy"

# Starts lapvista with the arguments given; sets `window` once its window is shown.
start_lapvista() {
  local out=$work/out.$RANDOM
  window=""
  last_difference=""
  "$bin/lapvista" --ini-dir "$work/drive" "$@" >"$out" 2>&1 &
  pids+=($!)
  lapvista_pid=$!
  lapvista_out=$out
  wait_for "the window" window_found_or_gone
  [[ -n $window ]] || fail "lapvista ended before its window showed: $(lapvista_end)"
}
# The window, or the process's end: a lapvista that died is reported at once, with its output.
window_found_or_gone() { window_found || ! kill -0 "$lapvista_pid" 2>/dev/null; }
lapvista_end() {
  local status=0
  wait "$lapvista_pid" || status=$?
  echo "exit status $status, output: $(tr '\n' ' ' <"$lapvista_out")"
}
window_found() { window=$(xdotool search --onlyvisible --name '^Lapvista$' 2>/dev/null | head -1) && [[ -n $window ]]; }
ready() { grep -q '^ready$' "$lapvista_out"; }
box_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
box_gone() { ! box_shown "$1"; }
stop_lapvista() {
  kill "$lapvista_pid" 2>/dev/null || true
  wait "$lapvista_pid" 2>/dev/null || true
}

# Closes the message box titled $1 with Return, the pointer resting on it (there is no window
# manager to give it the keyboard).
close_box_with_return() {
  wait_for "the box \"$1\"" box_shown "$1"
  local box
  box=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 10))
  sleep 0.2
  xdotool key Return
  wait_for "the box \"$1\" to close" box_gone "$1"
}

# Double-clicks at $1,$2 until `$3` says the window took it: on a busy machine the two clicks
# can come too far apart to make a double-click, and then nothing happened and it is given
# again. The pointer then leaves, so that no tooltip covers what is checked.
double_click_until() {
  local x=$1 y=$2 taken=$3
  for _ in 1 2 3; do
    xdotool mousemove "$x" "$y"
    sleep 0.2
    xdotool click --repeat 2 --delay 80 1
    xdotool mousemove $((origin_x + 600)) $((origin_y + 600))
    for _ in $(seq 50); do
      if "$taken"; then return 0; fi
      sleep 0.2
    done
  done
  fail "three double-clicks at $x,$y were not taken"
}

# The window's client area as a PNG.
screenshot() { import -window "$window" "$1"; }
# Pixel colour at x,y of a PNG as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
plot_area() { convert "$1" -crop 1817x1022+0+0 +repage "$2"; }
same_plot() {
  local differing
  differing=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [[ $differing == 0 ]] || fail "$3: $differing plot-area pixels differ from lapvista-cli"
}
cli_png() {
  local png=$1
  shift
  local args=()
  for command in "$@"; do args+=(-e "$command"); done
  "$bin/lapvista-cli" --ini-dir "$work/drive" --png "$png.full.png" "${args[@]}" >/dev/null
  plot_area "$png.full.png" "$png"
}

background="220,220,220"

echo "1. controls at their places"
start_lapvista
wait_for "ready" ready
screenshot "$work/start.png"
[[ $(identify -format %wx%h "$work/start.png") == 1908x1042 ]] || fail "window size"
# Each control: its first column and row are its own, the column and row before are the
# dialog's background. Pixels from the catalogue: x * 1.5, y * 1.625, rounded half up.
check_edges() {
  local name=$1 x=$2 y=$3 w=$4 h=$5
  local mid_x=$((x + w / 2)) mid_y=$((y + h / 2))
  if ((x > 0)); then
    [[ $(pixel "$work/start.png" $((x - 1)) $mid_y) == "$background" ]] || fail "$name: left of x=$x"
  fi
  [[ $(pixel "$work/start.png" $mid_x $((y - 1))) == "$background" ]] || fail "$name: above y=$y"
  [[ $(pixel "$work/start.png" $x $mid_y) != "$background" ]] || fail "$name: edge at x=$x"
  [[ $(pixel "$work/start.png" $mid_x $y) != "$background" ]] || fail "$name: edge at y=$y"
}
check_edges "load (1213,9)" 1820 15 29 16
check_edges "lap list (1213,20)" 1820 33 75 57
check_edges "gear box (1211,177)" 1817 288 15 20
check_edges "tyre box (1220,300)" 1830 488 30 20
check_edges "average temps (1218,337)" 1827 548 75 16
check_edges "line- (1219,599)" 1829 973 42 21
check_edges "scroll bar (0,629)" 0 1022 1908 18
# The writable tyre boxes are white, the read-only ones are not.
[[ $(pixel "$work/start.png" 1856 492) == "255,255,255" ]] || fail "tyre box is not white"
[[ $(pixel "$work/start.png" 1830 292) != "255,255,255" ]] || fail "gear box is white"
# "speed" starts hidden: its place shows the background.
[[ $(pixel "$work/start.png" 1838 252) == "$background" ]] || fail "speed is not hidden"
# The first movement over the window runs "load", whose file dialog opens.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 400)) $((Y + 300))
sleep 0.2
xdotool mousemove $((X + 420)) $((Y + 310))
wait_for "the file dialog of the first mouse movement" box_shown "Open"
stop_lapvista

echo "2. start-up file and commands: the plot area of lapvista-cli; the box closes with Return"
start_lapvista "$replay" -e "dblclick 1" -e "press speed"
close_box_with_return "Quick overview with datas of all laps"
wait_for "ready" ready
screenshot "$work/speed.png"
plot_area "$work/speed.png" "$work/speed.plot.png"
cli_png "$work/speed.cli.png" "load $replay" "dblclick 1" "press speed"
same_plot "$work/speed.plot.png" "$work/speed.cli.png" "dblclick 1, press speed"
stop_lapvista

echo "3. a real double-click on the second lap line"
start_lapvista "$replay"
close_box_with_return "Quick overview with datas of all laps"
wait_for "ready" ready
eval "$(xdotool getwindowgeometry --shell "$window")"
origin_x=$X
origin_y=$Y
# The load selected the last line, which scrolled the list: its scroll bar's up arrow
# brings the first line back to the top. Then line 2 (from 0), 12-pixel lines.
xdotool mousemove $((origin_x + 1888)) $((origin_y + 40))
xdotool click --repeat 8 --delay 50 1
# A chosen lap shows the channel buttons, "speed" among them.
speed_shown() {
  screenshot "$work/taken.png"
  [[ $(pixel "$work/taken.png" 1838 252) != "$background" ]]
}
double_click_until $((origin_x + 1840)) $((origin_y + 35 + 2 * 12 + 6)) speed_shown
cli_png "$work/lap.cli.png" "load $replay" "dblclick 2"
# Whether the window's plot area ($1.png) equals lapvista-cli's picture ($2).
plot_matches() {
  screenshot "$1.png"
  plot_area "$1.png" "$1.plot.png"
  local differing
  differing=$(compare -metric AE "$1.plot.png" "$2" null: 2>&1 || true)
  last_difference="last screenshot: $differing pixels differ"
  [[ $differing == 0 ]]
}
chosen() { plot_matches "$work/lap" "$work/lap.cli.png"; }
wait_for "lap 2 to be chosen" chosen
[[ $(pixel "$work/lap.png" 1838 252) != "$background" ]] || fail "speed is not shown"

echo "4. a real right-click over the plot area"
convert "$work/lap.png" -crop 40x20+1843+288 +repage "$work/speed-box.before.png"
xdotool mousemove $((origin_x + 700)) $((origin_y + 400))
sleep 0.2
xdotool click 3
cli_png "$work/readout.cli.png" "load $replay" "dblclick 2" "rclick 700"
read_out() { plot_matches "$work/readout" "$work/readout.cli.png"; }
wait_for "the readout at x=700" read_out
convert "$work/readout.png" -crop 40x20+1843+288 +repage "$work/speed-box.after.png"
[[ $(compare -metric AE "$work/speed-box.before.png" "$work/speed-box.after.png" null: 2>&1 || true) != 0 ]] ||
  fail "the speed box did not change"
stop_lapvista

echo "5. ld M, then a real double-click on another driver's lap in the tree"
"$bin/gplsim" --out "$work/online" --drivers 4 --laps 3 --ping 2 >/dev/null
cp "$work/online/Ping.ini" "$work/drive/Ping.ini"
online="$work/online/gpl/replay/demo.rpy"
start_lapvista "$online" -e "ldm $online"
close_box_with_return "Quick overview with datas of all laps"
wait_for "ready" ready
eval "$(xdotool getwindowgeometry --shell "$window")"
origin_x=$X
origin_y=$Y
screenshot "$work/before-import.png"
plot_area "$work/before-import.png" "$work/before-import.plot.png"
# An imported lap is drawn: the plot area changes.
plot_changed() {
  screenshot "$work/taken.png"
  plot_area "$work/taken.png" "$work/taken.plot.png"
  [[ $(compare -metric AE "$work/taken.plot.png" "$work/before-import.plot.png" null: 2>&1 || true) != 0 ]]
}
# The tree starts at (1646,29); its lines are 15 pixels apart. The first driver's item, its
# "Training" and laps 0, 1, 2, 3: line 5 is practice lap 3.
double_click_until $((X + 1760)) $((Y + 29 + 12 + 5 * 15)) plot_changed
cli_png "$work/import.cli.png" "load $online" "ldm $online" "tree 0 0 3"
imported() { plot_matches "$work/import" "$work/import.cli.png"; }
wait_for "the other driver's lap to be imported" imported
stop_lapvista

echo "6. a loaded saved-laps file rewritten and cut by another program keeps its laps"
# Large enough that its tables are the file's own pages.
"$bin/gplsim" --out "$work/long" --laps 8 --fps 60 --tel-version 7 --seed 4 >/dev/null
saved="$work/drive/gpl/replay/long.tmr"
"$bin/lapvista-cli" --no-draw-events --ini-dir "$work/long" -e "load $work/long/gpl/replay/demo.rpy" \
  -e "save $saved" >/dev/null
cp "$saved" "$work/long-as-saved.tmr"
start_lapvista "$saved"
close_box_with_return "Quick overview with datas of all laps"
wait_for "ready" ready
eval "$(xdotool getwindowgeometry --shell "$window")"
origin_x=$X
origin_y=$Y
# cp waits until the window has its rows in memory of its own; then the file is cut to nothing.
cp "$work/online/gpl/replay/demo.rpy" "$saved"
: >"$saved"
kill -0 "$lapvista_pid" 2>/dev/null || fail "lapvista ended when its file was rewritten: $(lapvista_end)"
xdotool mousemove $((origin_x + 1888)) $((origin_y + 40))
xdotool click --repeat 12 --delay 50 1
double_click_until $((origin_x + 1840)) $((origin_y + 35 + 2 * 12 + 6)) speed_shown
cli_png "$work/kept.cli.png" "load $work/long-as-saved.tmr" "dblclick 2"
kept() { plot_matches "$work/kept" "$work/kept.cli.png"; }
wait_for "lap 2 of the rewritten file to be drawn as saved" kept
stop_lapvista

echo "all window tests passed"
