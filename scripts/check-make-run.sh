#!/usr/bin/env bash
# The README's first command as a new user meets it: on an X desktop with a window manager and a session
# bus, in a fresh home, `make run` must start Lumeno and put its first window on the screen. Exits 0 once a
# window of Lumeno is viewable, 1 (with make's output) when make ends first or nothing shows within the bound.
# Usage: scripts/check-make-run.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
patience=${PATIENCE_SECONDS:-180}

scratch=$(mktemp -d)
started=()
cleanup() {
  for group in "${started[@]}"; do
    kill -- "-$group" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Waits until `condition` (a command) succeeds, at most `seconds`.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
started+=($!)
wait_for 30 test -s "$scratch/display" || { echo "Xvfb did not start"; cat "$scratch/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$scratch/display")"

setsid openbox 2>"$scratch/openbox.log" &
started+=($!)
wait_for 30 xprop -root -notype _NET_SUPPORTING_WM_CHECK || { echo "openbox did not start"; exit 1; }

mkdir -p "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
setsid env -u LUMENO_RUNNING_TESTS -u LUMENO_API_URL -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME \
  HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb \
  dbus-run-session -- make run BUILD_DIR="$build_dir" >"$scratch/make.log" 2>&1 &
make_run=$!
started+=("$make_run")

lumeno_window() { xdotool search --onlyvisible --classname '^lumeno$' 2>/dev/null | head -n1; }
deadline=$((SECONDS + patience))
while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$make_run" 2>/dev/null; do
  if window=$(lumeno_window) && [ -n "$window" ]; then
    echo "make run: Lumeno shows \"$(xdotool getwindowname "$window")\""
    exit 0
  fi
  sleep 0.2
done
if kill -0 "$make_run" 2>/dev/null; then
  echo "make run: no window of Lumeno appeared within ${patience} s"
else
  echo "make run: ended before any window of Lumeno appeared"
fi
cat "$scratch/make.log"
exit 1
