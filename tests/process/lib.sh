# Sourced by the process tests that run under Xvfb: a work folder removed at
# the end with every program started (record their ids in pids), the
# failure message, and waits for windows by title.
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
# Up to 15 s: a loaded machine takes its time to map a first window.
wait_for_windows() { # name count
  for _ in $(seq 150); do
    [ "$(count_windows "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
