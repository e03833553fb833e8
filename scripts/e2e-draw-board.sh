#!/bin/bash
# Draws a small board in the editor window the way a new user does, with the
# mouse and the tool panel only (xdotool), saves it with the file dialog,
# reopens it, and compares the file with the same drawing made by
# `plavesk-cli run` from tests/fixtures/e2e/draw-board.actions.
#
#   scripts/e2e-draw-board.sh [OUTDIR]      (default /tmp/plavesk-e2e)
#
# Needs xvfb, xdotool, imagemagick, dbus and python3-pyatspi (scripts/install-deps).
# Clears earlier *.lay and shot-*.png in OUTDIR, then leaves there: empty.lay
# (the new layout as saved), board.lay (drawn in the window), scripted.lay
# (drawn by the runner), shot-*.png, view-*.png, app.log.
# Exit status 0 when the reopened file shows the drawing pixel for pixel and
# board.lay and scripted.lay are identical.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build/default}
OUT=${1:-/tmp/plavesk-e2e}

if [ -z "${PLAVESK_E2E_INNER:-}" ]; then
  mkdir -p "$OUT"
  PLAVESK_E2E_INNER=1 exec xvfb-run -a -s '-screen 0 1400x900x24' "$0" "$OUT"
fi

A11Y="$ROOT/scripts/e2e-a11y.py"
ACTIONS="$ROOT/tests/fixtures/e2e/draw-board.actions"
rm -f "$OUT"/*.lay "$OUT"/shot-*.png

# A private session bus, so the toolkit publishes the controls.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; DBUS_PID=$pid"; })"
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The program keeps its settings file next to itself: a private copy starts
# with the defaults and leaves the shared one alone.
PROG="$OUT/prog"
mkdir -p "$PROG"
cp "$BUILD/src/plavesk" "$PROG/"
[ -f "$BUILD/src/TITEL.BMP" ] && cp "$BUILD/src/TITEL.BMP" "$PROG/"
rm -f "$PROG/PLAVESKA.INI"

APP_PID=
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "${DBUS_PID:-}" ] && kill "$DBUS_PID" 2>/dev/null
}
trap cleanup EXIT

fail() {
  echo "e2e: $*" >&2
  import -window root "$OUT/shot-failure.png"
  exit 1
}

pause() { sleep "${1:-0.4}"; }
shot() { import -window root "$OUT/shot-$1.png"; }
key() { xdotool key "$@"; pause; }
typetext() { xdotool type --delay 40 -- "$1"; pause; }
control() { "$A11Y" find "$@" || fail "control not found: $*"; }
press() {
  local at
  at=$(control "$@") || exit 1
  xdotool mousemove $at; pause 0.2
  xdotool click 1; pause
}
# Types VALUE into the field with accessible name NAME and leaves it with Tab.
field() {
  local at
  at=$(control "$1" text) || exit 1
  xdotool mousemove $at click 1; pause 0.2
  key ctrl+a; typetext "$2"; key Tab
}
# The same, left with Return (the tool panel's fields).
panel_field() {
  local at
  at=$(control "$1" text) || exit 1
  xdotool mousemove $at click 1; pause 0.2
  key ctrl+a; typetext "$2"; key Return
}

# Board point of grid column/row (2.54 mm steps from the top-left corner) on
# the screen: a new layout shows the board at 10 pixels per mm.
gx() { echo $((OX + ($1 * 254 + 5) / 10)); }
gy() { echo $((OY + ($1 * 254 + 5) / 10)); }
to() {
  xdotool mousemove "$(gx "$1")" "$(gy "$2")"; pause 0.15
  xdotool mousemove "$(gx "$1")" "$(gy "$2")"; pause 0.15
}
lclick() { to "$1" "$2"; xdotool click 1; pause; }
rclick() { to "$1" "$2"; xdotool click 3; pause; }
drag() {
  to "$1" "$2"; xdotool mousedown 1; pause
  to "$3" "$4"; to "$5" "$6"; xdotool mouseup 1; pause
}
# The pad-shape menu drops down from its button; its entries are reached
# with the arrow keys (N = position in the menu, the through-pad entry is 10).
pad_menu() {
  press "Pad shape" "push button"
  for ((i = 0; i < $1; ++i)); do xdotool key Down; done
  key Return
}
save_as() {
  press File "menu item"
  press "Save as..." "menu item"
  control "Save as" dialog >/dev/null || exit 1
  typetext "$1"; key Return; pause 1
  [ -f "$1" ] || fail "not saved: $1"
}

cd "$OUT" || exit 1
"$PROG/plavesk" --lang en >"$OUT/app.log" 2>&1 &
APP_PID=$!
control Layout filler 1 >/dev/null || fail "the window did not come up"
read -r OX OY _ < <("$A11Y" extents Layout filler 1)
pause 1
shot 00-start

# The new layout as it is, for the runner to start from.
save_as "$OUT/empty.lay"

# Tracks, one per bend mode: 0, then Space while drawing for 1..4.
press Track "check box"
lclick 2 2; lclick 8 4; rclick 8 4
for row in 5 8 11 14; do
  lclick 2 $row; key space; lclick 8 $((row + 2)); rclick 8 $((row + 2))
done
panel_field "Track width" 0.4
press Track "check box"
lclick 2 17; key space; lclick 5 19; lclick 8 17; rclick 8 17
shot 01-tracks

# An area closed with the right button, a cutout area closed on its first point.
press Zone "check box"
lclick 12 2; lclick 18 2; lclick 18 6; lclick 12 6; rclick 12 6
press "Ground plane" "check box"
press Cutout "check box"
lclick 20 2; lclick 26 2; lclick 26 6; lclick 20 6; lclick 20 2; rclick 20 2
shot 02-areas

# A circle dragged from its centre, then made an arc with the arc dialog.
press Circle "check box"
drag 15 12 16 12 18 12
press Edit "check box"
lclick 18 12
press Functions "menu item"
press "Segment..." "menu item"
field "Start angle" 30
field "Stop angle" 270
field Diameter 12.7
shot 03-arc-dialog
press OK "push button"
lclick 30 20

# Pads: circular, octagon, rectangle horizontal, rounded vertical, then a
# square through pad with a larger outer diameter.
press Pad "check box"
lclick 30 2
pad_menu 2; press Pad "check box"; lclick 33 2
pad_menu 6; press Pad "check box"; lclick 36 2
pad_menu 7; press Pad "check box"; lclick 39 2
pad_menu 3; pad_menu 10
panel_field Outside 2.5
press Pad "check box"
lclick 30 6
shot 04-pads

# Numbered texts: R1, R2, R3, the right click drops the prepared R4.
press Text "check box"
field Text R
field "Height (mm)" 3
press "Add number" "check box"
field "Start at" 1
shot 05-text-dialog
press OK "push button"
lclick 30 10; lclick 33 10; lclick 36 10; rclick 36 10

# A hexagon from the polygon dialog.
press Polygon "check box"
field "Radius (mm)" 5
field "Angle offset (°)" 30
field "Line width (mm)" 0.5
shot 06-polygon-dialog
press OK "push button"
lclick 30 18

# SMD pads, the second one wider (typed with a comma).
press SMD-Pad "check box"
lclick 40 14
panel_field Width 1,5
press SMD-Pad "check box"
lclick 42 14
press Edit "check box"
to 44 24
shot 07-drawn

save_as "$OUT/board.lay"

# Reopen: a new layout, then the saved file through the open dialog.
press New "push button"
press OK "push button"
press Open "push button"
control Open dialog >/dev/null || exit 1
typetext "$OUT/board.lay"; key Return; pause 1.5
to 44 24
shot 08-reopened
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null; APP_PID=

# The view area of the drawing and of the reopened file, pixel by pixel
# (the reopened window shows the board tabs, so its view is a little shorter).
for s in 07-drawn 08-reopened; do
  convert "$OUT/shot-$s.png" -crop "1100x640+$OX+$OY" +repage "$OUT/view-$s.png"
done
pixels=$(compare -metric AE "$OUT/view-07-drawn.png" "$OUT/view-08-reopened.png" null: 2>&1)
echo "view pixels differing after reopening: $pixels"
status=0
[ "$pixels" = 0 ] || status=1

# The same drawing by the runner.
args=()
while IFS= read -r line; do
  [[ -z "$line" || "$line" == \#* ]] && continue
  args+=(-e "$line")
done <"$ACTIONS"
"$BUILD/src/plavesk-cli" run "$OUT/empty.lay" "${args[@]}" -o "$OUT/scripted.lay" ||
  fail "the runner failed"
if cmp "$OUT/board.lay" "$OUT/scripted.lay"; then
  echo "board.lay and scripted.lay are identical ($(stat -c %s "$OUT/board.lay") bytes)"
  exit $status
fi
"$BUILD/src/plavesk-cli" info "$OUT/board.lay" --json --elements >"$OUT/board.json"
"$BUILD/src/plavesk-cli" info "$OUT/scripted.lay" --json --elements >"$OUT/scripted.json"
diff "$OUT/board.json" "$OUT/scripted.json" | head -40
exit 1
