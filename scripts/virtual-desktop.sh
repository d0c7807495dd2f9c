# Sourced by the screen's smoke test and benchmark: a private X display with a
# notification area, on which DUVEZ runs as on a user's desktop.
#   source scripts/virtual-desktop.sh
#   start_virtual_desktop || exit 1     # sets DISPLAY and xvfb_pid; $work is a scratch folder
#   exit_from_menu X Y                   # "終了" from the live window's menu; needs program_pid and fail
# Every process added to `pids` is stopped, and $work removed, on exit.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to 15 s for a command to succeed.
await() {
  for _ in $(seq 150); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

start_virtual_desktop() {
  for tool in Xvfb trayer xwininfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps installs it)"; return 1; }
  done
  # A display of its own, on the first free number.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  pids+=($xvfb_pid)
  await grep -q '[0-9]' "$work/display" || { echo "Xvfb did not start"; return 1; }
  export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
  export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 >"$work/trayer.log" 2>&1 &
  pids+=($!)
  await xwininfo -name panel || { echo "trayer did not start"; return 1; }
}

# The program's top-level windows that are on the screen (a pop-up menu is one).
shown_windows() {
  for id in $(xwininfo -root -children | awk '/"DUVEZ": \("DUVEZ"/ {print $1}'); do
    xwininfo -id "$id" | grep -q IsViewable && echo "$id"
  done | wc -l
}

# A right click on the live window whose top left stands at X, Y, then the
# menu's last entry, "終了": the program ($program_pid) must end with exit code 0.
# The caller's `fail` reports what went wrong.
exit_from_menu() {
  local x=$1 y=$2 before code=0
  before=$(shown_windows)
  xdotool mousemove --sync $((x + 120)) $((y + 90)) click 3
  menu_up() { [ "$(shown_windows)" -gt "$before" ]; }
  await menu_up || fail "no menu came up on a right click"
  xdotool key Up Return
  ended() { ! kill -0 "$program_pid" 2>/dev/null || [ "$(awk '{print $3}' "/proc/$program_pid/stat")" = Z ]; }
  await ended || fail "the program did not end after 終了"
  wait "$program_pid" || code=$?
  [ "$code" -eq 0 ] || fail "the program ended with exit code $code"
}
