# Sourced by the scripts that need a display: start_virtual_display starts
# Xvfb on a free-looking display number from FIRST (default 90) on, with any
# further arguments passed to Xvfb, waits until it answers, and exports
# DISPLAY; its process id is left in $xvfb for the caller to end.
start_virtual_display() {
  local first="${1:-90}"
  shift || true
  display=:$(( first + RANDOM % 100 ))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp "$@" >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY="$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}
