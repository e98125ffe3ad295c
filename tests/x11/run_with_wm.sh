#!/usr/bin/env bash
# Runs a program on a display of its own with a window manager: Xvfb on a free
# display number, openbox on it, fresh XDG folders, Qt on the xcb platform.
set -euo pipefail
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/config" "$work/data" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime

# Xvfb chooses a free display number and writes it to the pipe. On a busy
# machine starting it and the window manager can take many seconds. Without
# -noreset the server resets whenever its last client leaves (each xprop
# below) and refuses connections for that moment.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 600); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

# The server answers before the window manager is started; a window manager
# that could not connect or ended early is started again.
answers=no
for _ in $(seq 600); do xprop -root >/dev/null 2>&1 && { answers=yes; break; }; sleep 0.05; done
[ $answers = yes ] || { echo "Xvfb does not answer on $DISPLAY"; cat "$work/xvfb.log"; exit 1; }
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in 1 2 3; do
  openbox 2>>"$work/openbox.log" &
  wm=$!
  pids+=($wm)
  # The window manager is up once it has announced itself on the root window.
  for _ in $(seq 600); do
    wm_up && break
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.05
  done
  wm_up && break
done
wm_up || { echo "openbox did not start"; cat "$work/openbox.log" "$work/xvfb.log"; exit 1; }

export QT_QPA_PLATFORM=xcb
"$@"
