#!/usr/bin/env bash
# What the live window costs: DUVEZ shows the virtual board's live picture on
# a virtual X display for a while; this reports the CPU time the program used
# (user + system, as a share of one core) and its peak resident memory,
# against the targets of 10 % of one core and 80 MB. It ends non-zero when a
# target is missed.
#
#   bench/screen/live_window.sh [build folder (build)] [seconds (10)]
#
# The settings file asks for the 640 x 480 size; the live window takes it once
# the settings window sizes it at start-up. The size measured is reported.
set -euo pipefail

build=${1:-build}
seconds=${2:-10}
cpu_target_percent=10
memory_target_kb=$((80 * 1024))

source "$(dirname "$0")/../../scripts/virtual-desktop.sh"
command -v xdotool >/dev/null || { echo "live_window: xdotool is missing (scripts/install-deps installs it)"; exit 1; }
for file in DUVEZ QORDCI32.DLL libduvez_win.so; do
  [ -f "$build/bin/$file" ] || { echo "live_window: $build/bin/$file is missing; build the DUVEZ target first"; exit 1; }
done

start_virtual_desktop || exit 1

app="$work/app"
mkdir -p "$app"
cp "$build/bin/DUVEZ" "$build/bin/QORDCI32.DLL" "$build/bin/libduvez_win.so" "$app/"
printf '[SYSTEM]\nX=100\nY=100\nSize=3\n' >"$app/DUVEZ.ini"
(cd "$app" && exec ./DUVEZ 2>"$work/stderr") &
pids+=($!)
program=$!

live_window() { xdotool search --onlyvisible --name '^DUVEZ$' | head -1 | grep .; }
await live_window || { echo "live_window: no live window appeared"; exit 1; }
window=$(live_window)
size=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w - 6 "x" h - 6}')

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
sleep 1  # start-up done, the picture running
start_program=$(ticks "$program") start_server=$(ticks "$xvfb_pid") start=$(date +%s.%N)
sleep "$seconds"
end_program=$(ticks "$program") end_server=$(ticks "$xvfb_pid") end=$(date +%s.%N)
peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$program/status")

awk -v p0="$start_program" -v p1="$end_program" -v s0="$start_server" -v s1="$end_server" -v hz="$hz" \
  -v t0="$start" -v t1="$end" -v peak="$peak_kb" -v size="$size" \
  -v cpu_target="$cpu_target_percent" -v memory_target="$memory_target_kb" '
  BEGIN {
    wall = t1 - t0
    cpu = (p1 - p0) / hz
    share = 100 * cpu / wall
    printf "live window:  %s client, %.1f s of live picture\n", size, wall
    printf "program CPU:  %.2f s user+system = %.1f %% of one core (target %d %%): %s\n", cpu, share, cpu_target,
           share <= cpu_target ? "met" : "MISSED"
    printf "peak memory:  %.1f MB resident (VmHWM; target %d MB): %s\n", peak / 1024, memory_target / 1024,
           peak <= memory_target ? "met" : "MISSED"
    printf "X server CPU: %.2f s = %.1f %% of one core (for comparison; not the program'"'"'s)\n", (s1 - s0) / hz,
           100 * (s1 - s0) / hz / wall
    exit !(share <= cpu_target && peak <= memory_target)
  }'
