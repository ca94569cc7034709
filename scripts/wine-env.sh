# Sourced by run.sh and test.sh: a virtual display, a fresh Wine prefix and a
# running wineserver, all inside the build tree. Call wine_env_up <dir>, and
# wine_env_down when done (test.sh and run.sh trap it on exit).
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Starts Xvfb on the first free display from :90 on, with the given screen size.
start_xvfb() {   # start_xvfb <WxH>
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  export DISPLAY=:$n
}

wine_env_up() {   # wine_env_up <state dir> [screen WxH]
  local dir=$1 screen=${2:-1024x768}
  mkdir -p "$dir"
  export WINEPREFIX="$dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  # Wine's sound goes to a WAV file through ALSA's file plugin, so tests can
  # capture exactly what the program played.
  export KORVANE_SOUND_CAPTURE="$dir/sound.wav"
  export ALSA_CONFIG_PATH="$dir/asound.conf"
  printf 'pcm.!default { type file; slave.pcm { type null }; file "%s"; format "wav" }\n' \
    "$KORVANE_SOUND_CAPTURE" > "$ALSA_CONFIG_PATH"
  if [ -z "${KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then start_xvfb "$screen"; fi
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
  # Verdana, the captions' face, is not installed here: let Wine draw it with
  # DejaVu Sans, which has a real bold.
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d 'DejaVu Sans' /f >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
  # A persistent server: each program then starts in a tenth of a second.
  "$WINESERVER" -p
  # Start Wine's own background processes now, with their output going
  # nowhere: started by the first test instead, they would inherit its output
  # pipe and keep ctest waiting for it to close.
  "$WINE" wineboot >/dev/null 2>&1 </dev/null
}

wine_env_down() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
