#!/usr/bin/env bash
# Drives the program through a real X server with a window manager: it opens the
# navigation test pair (a.bin: 300,000 random bytes; b.bin: changed at 0x40-0x41,
# 0x1234, 0x20000, 0x30000-0x3001F and 0x3FFFF, four bytes longer), presses the five
# navigation keys with xdotool and checks after each step that both panes show the
# same top address with the jump target on screen and that the status bar names the
# cursor. Screenshots go to OUT_DIR (default build/xvfb-navigation).
# Usage: scripts/xvfb-navigation.sh [BUILD_DIR] [OUT_DIR]   (needs xvfb, openbox, xdotool, imagemagick)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="${2:-$build/xvfb-navigation}"
exe="$build/src/dualvex"
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "xvfb-navigation: $tool is missing (apt-get install xvfb openbox xdotool imagemagick)" >&2; exit 2; }
done
[ -x "$exe" ] || { echo "xvfb-navigation: build the program first ($exe)" >&2; exit 2; }
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

python3 - "$work" <<'PY'
import random, sys
random.seed(20261210)
a = bytearray(random.getrandbits(8) for _ in range(300000))
b = bytearray(a)
for lo, hi in [(0x40, 0x41), (0x1234, 0x1234), (0x20000, 0x20000), (0x30000, 0x3001F), (0x3FFFF, 0x3FFFF)]:
    for i in range(lo, hi + 1):
        b[i] ^= 0x5A
b += b"\x01\x02\x03\x04"
open(sys.argv[1] + "/a.bin", "wb").write(a)
open(sys.argv[1] + "/b.bin", "wb").write(b)
PY

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
export DUALVEX_CONFIG_DIR="$work/config" DUALVEX_TRACE_NAVIGATION=1
mkdir -p "$DUALVEX_CONFIG_DIR"
(cd "$work" && exec "$OLDPWD/$exe" a.bin b.bin) 2>"$work/trace" & pids+=($!)
window=$(xdotool search --sync --onlyvisible --name 'Dualvex' | head -1)
xdotool windowsize "$window" 1100 700 windowmove "$window" 20 20 windowactivate --sync "$window"
sleep 1

# key, expected cursor of the longer pane (the shorter stops on its last byte 0x493DF)
steps=(
  "alt+End 493E0" "alt+Home 40" "alt+Down 1234" "alt+Down 20000" "alt+Down 30000"
  "alt+Up 20000" "alt+End 493E0" "alt+Up 3FFFF" "alt+Home 40" "alt+Return 40"
)
failed=0
n=0
for step in "${steps[@]}"; do
  read -r key target <<<"$step"
  n=$((n + 1))
  before=$(grep -c '^navigation' "$work/trace" || true)
  xdotool key --window "$window" "$key"
  for _ in $(seq 50); do
    [ "$(grep -c '^navigation' "$work/trace" || true)" -gt "$before" ] && break
    sleep 0.1
  done
  sleep 0.3
  import -window root "$out/step$(printf %02d $n)-${key/+/_}.png"
  line=$(grep '^navigation' "$work/trace" | tail -1)
  echo "step $n $key: $line"
  top0=$(sed -E 's/.*top0=0x([0-9A-F]+).*/\1/' <<<"$line")
  top1=$(sed -E 's/.*top1=0x([0-9A-F]+).*/\1/' <<<"$line")
  c0=$(sed -E 's/.*cursor0=0x([0-9A-F]+).*/\1/' <<<"$line")
  c1=$(sed -E 's/.*cursor1=0x([0-9A-F]+).*/\1/' <<<"$line")
  status=$(sed -E 's/.*status="([^"]*)".*/\1/' <<<"$line")
  want0=$(( 0x$target < 0x493DF ? 0x$target : 0x493DF ))
  problems=()
  [ "$top0" = "$top1" ] || problems+=("the panes drifted: 0x$top0 / 0x$top1")
  [ $((0x$c1)) -eq $((0x$target)) ] || problems+=("right cursor 0x$c1, expected 0x$target")
  [ $((0x$c0)) -eq $want0 ] || problems+=("left cursor 0x$c0")
  [ $((0x$top0)) -le $((0x$target)) ] && [ $((0x$target - 0x$top0)) -lt 1024 ] || problems+=("0x$target is off the screen (top 0x$top0)")
  [ "$status" = " Adr: 0x$c0 / $((0x$c0))" ] || problems+=("status \"$status\"")
  if [ ${#problems[@]} -gt 0 ]; then
    failed=1
    printf '  FAILED: %s\n' "${problems[@]}"
  fi
done
echo "screenshots: $out"
[ $failed -eq 0 ] && echo "xvfb-navigation: all steps passed" || { echo "xvfb-navigation: FAILED" >&2; exit 1; }
