#!/usr/bin/env bash
# Starts the program in a real X server (Xvfb) with no window manager, with
# openbox and with a compositing manager on top of it, and checks the splash in
# each: mapped, frameless, kept above, its picture on the screen (compared with
# docs/splash.png) and still there half a second later, then gone when the open
# dialog comes. Exits 77 (skipped) when Xvfb or the X tools are missing or no
# server starts; a window manager that is not installed is left out.
# Usage: check_splash.sh BUILD_DIR SOURCE_DIR. ORVANTA_TEST_DISPLAY picks the
# display number; otherwise Xvfb takes a free one.
set -uo pipefail
build=$1 source=$2
skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb xwininfo xprop import compare; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$build/orvanta" ] || { echo "FAIL: $build/orvanta is not built"; exit 1; }

work=$(mktemp -d)
pids=()
stop() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; }
trap 'stop; rm -rf "$work"' EXIT
trap 'exit 1' TERM INT

if [ -n "${ORVANTA_TEST_DISPLAY:-}" ]; then
  Xvfb ":$ORVANTA_TEST_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  echo "$ORVANTA_TEST_DISPLAY" >"$work/display"
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
fi
export DISPLAY=
for _ in $(seq 50); do
  n=$(head -n1 "$work/display" 2>/dev/null)
  if [ -n "$n" ] && xwininfo -display ":$n" -root >/dev/null 2>&1; then DISPLAY=:$n; break; fi
  sleep 0.1
done
[ -n "$DISPLAY" ] || skip "Xvfb did not start: $(tail -n3 "$work/xvfb.log")"
export DISPLAY QT_QPA_PLATFORM=xcb HOME=$work
unset WAYLAND_DISPLAY

failed=0 session_failed=0
fail() { echo "FAIL ($session): $*"; failed=1 session_failed=1; }

# The splash is the program's only window of type splash; prints its id.
splash_window() {
  xwininfo -root -tree | awk '/ 543x144\+/ {print $1}' | while read -r id; do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_SPLASH && { echo "$id"; break; }
  done
}
# How far the screen where the splash is differs from its picture (0 = same).
screen_difference() {
  local geometry=$1
  import -window root -crop "$geometry" +repage "$work/shot.png" 2>/dev/null || { echo 1; return; }
  compare -metric RMSE "$work/shot.png" "$source/docs/splash.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}
painted() { awk -v d="$1" 'BEGIN { exit !(d != "" && d < 0.05) }'; }

check_session() {
  session=$1 session_failed=0
  shift
  local helpers=()
  for helper in "$@"; do
    $helper >"$work/$session.log" 2>&1 &
    helpers+=($!)
    pids+=($!)
    sleep 1
  done
  "$build/orvanta" >"$work/orvanta.log" 2>&1 &
  local app=$!
  pids+=("$app")

  local id="" geometry="" difference=""
  for _ in $(seq 100); do
    id=$(splash_window)
    if [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable; then
      geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        END {print "543x144+" x "+" y}')
      difference=$(screen_difference "$geometry")
      painted "$difference" && break
    fi
    sleep 0.05
  done
  if ! painted "$difference"; then
    fail "the splash never showed on the screen (window ${id:-none}, difference ${difference:-none})"
  else
    xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the splash is not kept above"
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    [ -z "$extents" ] || [ "$extents" = "0, 0, 0, 0" ] || fail "the splash has a frame ($extents)"
    sleep 0.5
    painted "$(screen_difference "$geometry")" || fail "the splash went away within half a second"
    # Then the open dialog, and the splash gone.
    local dialog=0
    for _ in $(seq 300); do
      xwininfo -root -tree | grep -q '"開く"' && { dialog=1; break; }
      sleep 0.1
    done
    [ $dialog = 1 ] || fail "no open dialog after the splash"
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && fail "the splash stayed with the open dialog"
  fi
  if [ $session_failed = 1 ]; then tail -n5 "$work/orvanta.log"; else echo "ok ($session)"; fi
  kill "$app" "${helpers[@]}" 2>/dev/null
  wait "$app" "${helpers[@]}" 2>/dev/null
}

check_session "no window manager"
if command -v openbox >/dev/null; then
  check_session openbox "openbox --sm-disable"
  for compositor in "xcompmgr" "picom --backend xrender"; do
    command -v "${compositor%% *}" >/dev/null || continue
    check_session "openbox + ${compositor%% *}" "openbox --sm-disable" "$compositor"
    break
  done
else
  echo "openbox is not installed: checked without a window manager only"
fi
exit $failed
