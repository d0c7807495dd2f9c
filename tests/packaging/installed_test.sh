#!/usr/bin/env bash
# The Debian package as an ordinary user meets it: unpacked into a tree that
# root owns, started as a fresh user (not root) by its menu entry's command on
# a virtual desktop, moved, closed from its right-click menu, and started
# again. Both settings files must be in that user's config folder, the second
# run must find the window where the first left it, and the package's tree
# must be as it was unpacked.
#
#   installed_test.sh duvez_<version>_<arch>.deb      (as root)
set -euo pipefail

package=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "installed: run this as root: it makes a user of its own"; exit 1; }
source "$(dirname "$0")/../../scripts/virtual-desktop.sh"
for tool in dpkg-deb useradd userdel runuser xdotool; do
  command -v "$tool" >/dev/null || { echo "installed: $tool is missing"; exit 1; }
done

user=duvez-test-$$
remove_user() { userdel --force "$user" 2>/dev/null || true; }
trap 'cleanup; remove_user' EXIT

fail() {
  echo "installed: $*"
  [ -s "$work/stderr" ] && { echo "--- program's standard error:"; cat "$work/stderr"; }
  exit 1
}

start_virtual_desktop || fail "no virtual desktop"
chmod 711 "$work"

# The package's tree, root's alone to change.
tree="$work/tree"
mkdir "$tree"
dpkg-deb -x "$package" "$tree"
chown -R root:root "$tree"
snapshot() { find "$tree" -printf '%p %y %s %m %U %T@\n' | sort; }
snapshot >"$work/tree.before"

# A fresh user with an empty home folder and no settings anywhere.
home="$work/user-home"
useradd --system --home-dir "$home" --no-create-home --shell /usr/sbin/nologin "$user"
mkdir -m 700 "$home" "$work/user-run"
chown "$user:" "$home" "$work/user-run"

desktop=$(ls "$tree"/usr/share/applications/*.desktop)
command=$(sed -n 's/^Exec=//p' "$desktop")
[ -n "$command" ] || fail "the desktop entry has no Exec line"

# Starts the menu entry's command as the user, from the user's home folder,
# with the unpacked package's bin folder on the path.
start_program() {
  (cd "$home" && exec runuser -u "$user" -- env -i HOME="$home" XDG_RUNTIME_DIR="$work/user-run" \
    DISPLAY="$DISPLAY" PATH="$tree/usr/bin:/usr/bin:/bin" LANG=C.UTF-8 $command 2>"$work/stderr") &
  program_pid=$!
  pids+=($program_pid)
}

# The live window: the program's visible window larger than an icon.
live_window() {
  for id in $(xdotool search --onlyvisible --name '^DUVEZ$' 2>/dev/null); do
    if [ "$(xwininfo -id "$id" | awk '/Width:/ {print $2}')" -gt 100 ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
window_at() {
  local info
  info=$(xwininfo -id "$(live_window)")
  [ "$(awk '/Absolute upper-left X/ {print $4}' <<<"$info"),$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")" = "$1,$2" ]
}

config="$home/.config/DUVEZ"

# First run: the defaults, then a drag by 40, 30 and the exit.
start_program
await live_window || fail "no live window appeared"
await window_at 50 50 || fail "the first run's window is not at the default place 50,50"
xdotool mousemove --sync 150 150 mousedown 1
xdotool mousemove --sync 190 180
xdotool mouseup 1
await window_at 90 80 || fail "the drag did not move the window to 90,80"
exit_from_menu 90 80

for file in DUVEZ.ini QORDCI32.ini; do
  [ -f "$config/$file" ] || fail "no $file in the user's config folder: $(find "$home" | tr '\n' ' ')"
  [ "$(stat -c %U "$config/$file")" = "$user" ] || fail "$file does not belong to the user"
done
grep -q '^X=90' "$config/DUVEZ.ini" && grep -q '^Y=80' "$config/DUVEZ.ini" ||
  fail "DUVEZ.ini does not hold the window's place: $(cat "$config/DUVEZ.ini")"
grep -q '^\[KIVO\]' "$config/QORDCI32.ini" || fail "QORDCI32.ini is not the board's file: $(cat "$config/QORDCI32.ini")"
[ "$(stat -c %a "$home/.config") $(stat -c %a "$config")" = "700 700" ] ||
  fail "the settings folders are not the user's alone"

# Second run: the window comes back where the first run left it.
start_program
await live_window || fail "the second run showed no live window"
await window_at 90 80 || fail "the second run did not start where the first ended (90,80)"
exit_from_menu 90 80

snapshot >"$work/tree.after"
diff "$work/tree.before" "$work/tree.after" >&2 || fail "the package's tree changed"
echo "installed: settings in $config for $user, kept across runs; the package's tree untouched"
