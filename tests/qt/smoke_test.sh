#!/usr/bin/env bash
# Runs the real program, with the virtual board, on a virtual X display that
# has a notification area, and checks what a user sees and does there: the
# live window at its place and size showing a moving picture, the icon in the
# notification area, a drag of the window, the settings window shown by a
# double click and Esc there capturing a frame, the icon hiding and showing
# both windows and opening the task menu, and "終了" in its right-click
# menu ending the program with exit code 0 and its settings written.
#
#   smoke_test.sh DUVEZ QORDCI32.DLL libduvez_win.so
# With DUVEZ_SCREENSHOT=file.png it also keeps a picture of the live window.
set -euo pipefail

program=$1 board=$2 winlib=$3
source "$(dirname "$0")/../../scripts/virtual-desktop.sh"
for tool in xdotool xprop import compare convert; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool is missing (scripts/install-deps installs it)"; exit 1; }
done

fail() {
  echo "smoke: $*"
  [ -s "$work/stderr" ] && { echo "--- program's standard error:"; cat "$work/stderr"; }
  exit 1
}

start_virtual_desktop || fail "no virtual desktop"

# The program keeps its settings beside itself: run a copy from a folder of its own.
app="$work/app"
mkdir -p "$app"
cp "$program" "$board" "$winlib" "$app/"
left=200 top=150 client_w=512 client_h=384 frame=3
printf '[SYSTEM]\nX=%d\nY=%d\nSize=0\nUserW=%d\nUserH=%d\n' $left $top $client_w $client_h >"$app/DUVEZ.ini"
(cd "$app" && exec ./DUVEZ 2>"$work/stderr") &
program_pid=$!
pids+=($program_pid)

outer_w=$((client_w + 2 * frame)) outer_h=$((client_h + 2 * frame))
live_window() {
  for id in $(xdotool search --onlyvisible --name '^DUVEZ$' 2>/dev/null); do
    info=$(xwininfo -id "$id")
    if grep -q "Width: $outer_w\$" <<<"$info" && grep -q "Height: $outer_h\$" <<<"$info"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
await live_window || fail "no live window of ${outer_w}x${outer_h} appeared"
window=$(live_window)
info=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
[ "$x,$y" = "$left,$top" ] || fail "the live window stands at $x,$y, not at $left,$top"

# A tool window that stays on top: no taskbar button.
xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_UTILITY || fail "the live window is no tool window"
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the live window does not stay on top"

# The icon is embedded in the notification area.
await sh -c "xwininfo -tree -name panel | grep -q '\"DUVEZ\"'" || fail "no icon in the notification area"

# The client area shows a moving picture.
client="${client_w}x${client_h}+$((left + frame))+$((top + frame))"
sleep 0.5
import -window root -crop "$client" +repage "$work/first.png"
sleep 1
import -window root -crop "$client" +repage "$work/second.png"
colours=$(convert "$work/first.png" -format %k info:)
[ "$colours" -gt 16 ] || fail "the live window shows no picture ($colours colours)"
changed=$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the picture did not move in a second (difference: $changed)"

if [ -n "${DUVEZ_SCREENSHOT:-}" ]; then
  margin=24
  import -window root -crop "$((outer_w + 2 * margin))x$((outer_h + 2 * margin))+$((left - margin))+$((top - margin))" \
    +repage "$DUVEZ_SCREENSHOT"
fi

# A drag with the left button moves the window by as much as the mouse.
xdotool mousemove --sync $((left + 100)) $((top + 100)) mousedown 1
xdotool mousemove --sync $((left + 140)) $((top + 130))
xdotool mouseup 1
left=$((left + 40)) top=$((top + 30))
moved() { xwininfo -id "$window" | grep -q "Absolute upper-left X:  $left\$"; }
await moved || fail "the drag did not move the window to $left,$top"

# A double click on the live picture shows the settings window; Esc there
# captures the live frame into the working folder.
xdotool mousemove --sync $((left + 60)) $((top + 60)) click --repeat 2 --delay 80 1
settings_window() { xdotool search --onlyvisible --name '^DUVEZ Setting$' | head -1 | grep .; }
await settings_window || fail "a double click on the live picture showed no settings window"
setting=$(settings_window)
geometry=$(xwininfo -id "$setting")
sx=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
sy=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
xdotool mousemove --sync $((sx + 200)) $((sy + 155)) key Escape
captured() { [ -s "$app/TempFile001.bmp" ]; }
await captured || fail "Esc in the settings window saved no TempFile001.bmp"
identify "$app/TempFile001.bmp" | grep -q 'BMP3\? 720x480' || fail "the capture is no 720 x 480 BMP: $(identify "$app/TempFile001.bmp" 2>&1)"
[ ! -e "$app/KIVOTEMP.BMP" ] || fail "the capture left its temporary file"


# The icon: a left click hides the live window and the settings window with
# it, a second brings both back; a right click opens the task menu.
icon=$(xwininfo -tree -name panel | awk '/"DUVEZ"/ {print $1; exit}')
read -r ix iy < <(xwininfo -id "$icon" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
viewable() { xwininfo -id "$1" | grep -q IsViewable; }
both_hidden() { ! viewable "$window" && ! viewable "$setting"; }
both_shown() { viewable "$window" && viewable "$setting"; }
# (Each press at another point: a move with --sync to where the pointer is waits.)
xdotool mousemove --sync $((ix + 8)) $((iy + 8)) click 1
await both_hidden || fail "a left click on the icon did not hide the live and settings windows"
sleep 1  # not a double click, which toggles only once
xdotool mousemove --sync $((ix + 10)) $((iy + 10)) click 1
await both_shown || fail "a second left click on the icon did not show both windows again"
before=$(shown_windows)
xdotool mousemove --sync $((ix + 12)) $((iy + 12)) click 3
task_menu_up() { [ "$(shown_windows)" -gt "$before" ]; }
await task_menu_up || fail "a right click on the icon opened no task menu"
xdotool key Escape
task_menu_gone() { [ "$(shown_windows)" -eq "$before" ]; }
await task_menu_gone || fail "Esc did not close the task menu"

# "終了" in the right-click menu, the menu's last entry, ends the program.
exit_from_menu "$left" "$top"
grep -q "^X=$left" "$app/DUVEZ.ini" && grep -q "^Y=$top" "$app/DUVEZ.ini" ||
  fail "the settings file does not hold the window's place: $(cat "$app/DUVEZ.ini")"
grep -q "^Number=2" "$app/DUVEZ.ini" || fail "the next file number was not kept: $(cat "$app/DUVEZ.ini")"
echo "smoke: live window, picture, icon, drag, settings window, capture, icon, task menu and exit as expected"
