# Starts one virtual X display and one Wine virtual desktop for this shell, unless
# a display is already there, or the test lanes (one display, desktop and private prefix
# each). Sourced; defines kv90_display_stop and kv90_lanes_stop for the caller's trap.
KV90_OWN_XVFB=""
KV90_PRIVATE_PREFIX=""
# A copy of the prepared Wine prefix for this run alone, so that runs side by
# side never share a Wine server, a desktop or the single-instance names.
kv90_private_prefix() {
  KV90_PRIVATE_PREFIX="$(mktemp -d /tmp/kv90-wine.XXXXXX)"
  cp -a "$WINEPREFIX" "$KV90_PRIVATE_PREFIX/prefix"
  export WINEPREFIX="$KV90_PRIVATE_PREFIX/prefix"
}
kv90_display_start() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${KV90_FORCE_XVFB:-}" ]; then
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    KV90_OWN_XVFB=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 && break
    kill "$KV90_OWN_XVFB" 2>/dev/null || true
    KV90_OWN_XVFB=""
  done
  [ -n "$KV90_OWN_XVFB" ] || { echo "could not start Xvfb" >&2; return 1; }
  # A Wine virtual desktop, so that Wine draws the window frames itself.
  wineserver -p 2>/dev/null || true
  wine explorer /desktop=Default,1280x800 >/dev/null 2>&1 &
  KV90_DESKTOP_PID=$!
  for i in $(seq 1 200); do
    xdotool search --name 'Wine' >/dev/null 2>&1 && break
    sleep 0.1
  done
  export KV90_WINE_DESKTOP=1
}
kv90_display_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$KV90_OWN_XVFB" ]; then kill "$KV90_OWN_XVFB" 2>/dev/null || true; wait "$KV90_OWN_XVFB" 2>/dev/null || true; fi
  if [ -n "$KV90_PRIVATE_PREFIX" ]; then rm -rf "$KV90_PRIVATE_PREFIX"; fi
}

# The test lanes of tests/lanes.json: for each, a private prefix, a virtual display and its Wine
# desktop, handed to the tests as KV90_LANE<n>_DISPLAY and KV90_LANE<n>_WINEPREFIX (tests/in-lane).
# The caller's own DISPLAY and WINEPREFIX are left as they were.
KV90_LANES=()
kv90_lanes_start() {
  local count="$1" n saved_display="${DISPLAY:-}" saved_prefix="$WINEPREFIX"
  for n in $(seq 1 "$count"); do
    KV90_OWN_XVFB=""
    KV90_PRIVATE_PREFIX=""
    WINEPREFIX="$saved_prefix"
    kv90_private_prefix
    KV90_FORCE_XVFB=1 kv90_display_start || { kv90_display_stop; return 1; }
    KV90_LANES+=("$KV90_OWN_XVFB:$KV90_PRIVATE_PREFIX")
    export "KV90_LANE${n}_DISPLAY=$DISPLAY" "KV90_LANE${n}_WINEPREFIX=$WINEPREFIX"
  done
  KV90_OWN_XVFB=""
  KV90_PRIVATE_PREFIX=""
  export WINEPREFIX="$saved_prefix"
  if [ -n "$saved_display" ]; then export DISPLAY="$saved_display"; else unset DISPLAY; fi
}
kv90_lanes_stop() {
  local lane saved_prefix="$WINEPREFIX"
  for lane in "${KV90_LANES[@]}"; do
    KV90_OWN_XVFB="${lane%%:*}"
    KV90_PRIVATE_PREFIX="${lane#*:}"
    WINEPREFIX="$KV90_PRIVATE_PREFIX/prefix"
    kv90_display_stop
  done
  KV90_LANES=()
  KV90_OWN_XVFB=""
  KV90_PRIVATE_PREFIX=""
  WINEPREFIX="$saved_prefix"
}
