#!/usr/bin/env bash
# A new user's session in the editor window, driven with the real pointer
# and keyboard (xdotool) on a virtual screen: rubber bands with the
# connection tool, routing and un-routing with the autoroute tool and its
# window, a test click, the ground plane with a cutout area, a DIL 8 dragged
# from the macro library panel, and Save as through the file dialog. Then
# plavesk-cli makes the same edits with its runner actions and the two saved
# files are compared byte for byte.
#
#   scripts/e2e-connections-session.sh [OUTDIR]     (default /tmp/plavesk-e2e-connections)
#
# Needs xvfb-run, xdotool and ImageMagick's import; the editor and the CLI
# built in build/default. Screenshots go to OUTDIR/shot-N.png: look at them.
# The editor runs from a program folder of its own under OUTDIR (a link to
# the built program, the example macros), so it starts as on a first start
# and its settings file stays out of the build folder.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-/tmp/plavesk-e2e-connections}
BUILD=$ROOT/build/default/src

if [[ -z "${PLAVESK_E2E_INNER:-}" ]]; then
  rm -rf "$OUT"
  mkdir -p "$OUT/program"
  ln "$BUILD/plavesk" "$OUT/program/plavesk" 2>/dev/null || cp "$BUILD/plavesk" "$OUT/program/"
  cp -r "$ROOT/examples/Makros" "$OUT/program/Makros"
  [[ -f $BUILD/TITEL.BMP ]] && cp "$BUILD/TITEL.BMP" "$OUT/program/"
  [[ -d $BUILD/manual ]] && ln -s "$BUILD/manual" "$OUT/program/manual"
  # The starting layout: the demo's first board emptied, with four pads.
  "$BUILD/plavesk-cli" run "$ROOT/examples/demo.lay" -e "board 2" -e delete-board \
    -e select-all -e delete -e "tool pad" -e "click 2540 -2540" -e "click 7620 -2540" \
    -e "click 2540 -5080" -e "click 7620 -5080" -e "tool edit" -o "$OUT/base.lay"
  PLAVESK_E2E_INNER=1 exec xvfb-run -a -s '-screen 0 1400x900x24' "$0" "$OUT"
fi

N=0
shot() {
  sleep 0.6
  N=$((N + 1))
  import -window root "$OUT/shot-$N.png"
  echo "shot-$N: $1"
}
# The board is shown at 10 pixels a millimetre with its corner at (119, 84)
# of the screen; the window has no frame (no window manager).
px() { python3 -c "print(round($1 + 10 * $2))"; }
at() {
  xdotool mousemove "$(px 119 "$1")" "$(px 84 "$2")"
  sleep 0.25
}
click_mm() {
  at "$1" "$2"
  xdotool click "${3:-1}"
  sleep 0.4
}
click_px() {
  xdotool mousemove "$1" "$2"
  sleep 0.25
  xdotool click 1
  sleep 0.5
}
# Clears a field of the autorouter window and types a value.
type_into() {
  click_px "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 60 "$3"
  xdotool key Tab
  sleep 0.3
}

cp "$OUT/base.lay" "$OUT/gui.lay"
"$OUT/program/plavesk" --lang en "$OUT/gui.lay" >"$OUT/plavesk.log" 2>&1 &
APP=$!
trap 'kill $APP 2>/dev/null || true' EXIT
xdotool search --sync --onlyvisible --name 'gui.lay' >/dev/null
sleep 2
shot "the four pads"

# Connection tool: pad A, the dotted line to the pointer, pad B; C to D.
click_px 67 253
click_mm 25.4 25.4
at 50 36
shot "connection tool: the dotted line from pad A"
click_mm 76.2 25.4
click_mm 25.4 50.8
at 60 55
click_mm 76.2 50.8
at 50 40
shot "two rubber bands"

# Autoroute tool: its window, 0.6 mm width and 0.3 mm clearance, the band
# under the pointer in magenta; both bands routed, the first un-routed.
click_px 67 290
xdotool search --sync --onlyvisible --name '^Autorouter$' >/dev/null
type_into 649 378 0.6
type_into 649 406 0.3
at 50 25.4
at 50.1 25.4
shot "autoroute tool: its window and the band under the pointer"
xdotool click 1
sleep 2
at 50 50.8
at 50.1 50.8
xdotool click 1
sleep 2
at 50 40
shot "both bands routed: Successful"
at 50 25.8
at 50.1 25.8
shot "the routed track under the pointer"
xdotool click 1
sleep 1
at 50 40
shot "the first track un-routed: its band is back"

# Test tool: the net of pad C marked, cleared by the next click.
click_px 23 253
click_mm 25.4 50.8
at 50 40
shot "test tool: the net of pad C"
click_mm 50 40
shot "test marks cleared"

# Ground plane on, a cutout area (the cutout button takes the area tool),
# ground plane off again.
click_px 421 790
at 50 65
shot "ground plane poured"
click_px 509 790
click_mm 40 30
click_mm 60 30
click_mm 60 45
click_mm 40 45
xdotool click 3
sleep 0.6
at 50 65
shot "a cutout area in the ground plane"
click_px 421 790
at 50 65
shot "ground plane cleared, the cutout area hatched"

# The macro library panel from the Options menu, DIL 8 chosen and its
# preview dragged onto the board.
click_px 227 8
shot "Options menu"
click_px 286 53
shot "macro library panel"
click_px 1032 169
xdotool mousemove 1128 600
sleep 0.3
xdotool mousedown 1
sleep 0.3
for i in $(seq 1 20); do
  xdotool mousemove $((1128 - i * 30)) $((600 + i * 5))
  sleep 0.05
done
at 40 62
sleep 0.4
shot "DIL 8 dragged over the board"
xdotool mouseup 1
sleep 1
at 50 40
shot "DIL 8 dropped"

# Save as, through the file dialog.
click_px 19 8
click_px 62 95
xdotool search --sync --onlyvisible --name '^Save as$' >/dev/null
sleep 0.5
shot "the save dialog"
xdotool type --delay 40 "$OUT/gui-saved.lay"
xdotool key Return
sleep 1.5
shot "saved"
kill $APP
trap - EXIT

# The same edits with the runner.
"$BUILD/plavesk-cli" run "$OUT/base.lay" \
  -e "tool connect" -e "click 2540 -2540" -e "click 7620 -2540" \
  -e "click 2540 -5080" -e "click 7620 -5080" \
  -e "tool autoroute" -e "autoroute-options 0.6 0.3" \
  -e "click 5000 -2540" -e "click 5000 -5080" -e "click 5000 -2580" \
  -e "tool test" -e "click 2540 -5080" -e "click 5000 -4000" \
  -e "ground-plane on" -e "cutout on" \
  -e "click 4000 -3000" -e "click 6000 -3000" -e "click 6000 -4500" -e "click 4000 -4500" \
  -e "click 4000 -4500 --right" -e "ground-plane off" \
  -e "macro-drop \"$ROOT/examples/Makros/DIL8.lmk\" 4000 -6200" \
  -o "$OUT/cli.lay"

if cmp "$OUT/gui-saved.lay" "$OUT/cli.lay"; then
  echo "the window and the runner saved the same file"
else
  "$BUILD/plavesk-cli" info "$OUT/gui-saved.lay" --json --elements >"$OUT/gui.json"
  "$BUILD/plavesk-cli" info "$OUT/cli.lay" --json --elements >"$OUT/cli.json"
  python3 -m json.tool "$OUT/gui.json" >"$OUT/gui.pretty.json"
  python3 -m json.tool "$OUT/cli.json" >"$OUT/cli.pretty.json"
  diff "$OUT/gui.pretty.json" "$OUT/cli.pretty.json" || true
  exit 1
fi
