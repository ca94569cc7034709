# Sourced by the scripts: a virtual display, a fresh Wine prefix and a running
# wineserver, all inside the build tree. Call wine_env_up <dir>, and
# wine_env_down when done (the scripts trap it on exit). Several environments
# can run side by side, each in its own subshell: every one has its own
# display, prefix and wineserver.
WINE=/usr/lib/wine/wine64      # the 64-bit loader: the twin, and the prefix's own tools
WINE32=/usr/lib/wine/wine      # the 32-bit loader (wine32:i386): the release
WINESERVER=/usr/lib/wine/wineserver

# Why scripts/deps.sh did not install 32-bit Wine, when it did not.
WINE32_NOTE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine32-missing.txt

# Whether this machine runs 32-bit x86 programs, natively or through an
# emulator registered with binfmt_misc (some machines of this kind have the
# kernel's IA-32 emulation switched off), tried with a program of three
# instructions; true when there are no binutils to make one with.
runs_i386() {
  local dir rc=0
  command -v as >/dev/null && command -v ld >/dev/null || return 0
  dir=$(mktemp -d)
  printf '.globl _start\n_start: movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' | as --32 -o "$dir/x.o" &&
    ld -m elf_i386 -o "$dir/x" "$dir/x.o" && { "$dir/x" 2>/dev/null || rc=1; }
  rm -rf "$dir"
  return $rc
}

BINFMT=/proc/sys/fs/binfmt_misc
# The enabled binfmt_misc entry that takes i386 ELF programs, if any: its
# magic is an ELF header of class 32-bit and machine 3 (i386), the bytes
# compared here (handlers differ in the ones they mask out).
# The kernel asks binfmt_misc before its own ELF loader, so where one is
# registered every 32-bit program runs through it, even on a kernel that
# could run it natively.
i386_handler() {
  local entry
  for entry in "$BINFMT"/*; do
    [ -f "$entry" ] && [ "${entry##*/}" != register ] && [ "${entry##*/}" != status ] || continue
    awk 'NR == 1 && $1 != "enabled" { exit 1 }
         $1 == "magic" { found = $2 ~ /^7f454c4601/ && substr($2, 37, 4) == "0300" }
         END { exit !found }' "$entry" 2>/dev/null && { echo "$entry"; return 0; }
  done
  return 1
}

# How the release runs here: "natively", or "emulated (<interpreter>)".
how_i386_runs() {
  local entry
  if entry=$(i386_handler); then
    echo "emulated ($(awk '$1 == "interpreter" { print $2 }' "$entry"))"
  else
    echo natively
  fi
}

# Whether this machine runs the 32-bit release; sets WHY_NO_32 when not.
can_run_32() {
  if ! runs_i386; then
    WHY_NO_32="this machine cannot run 32-bit programs (the kernel refused an i386 program, and no emulator took it)"
    [ -s "$WINE32_NOTE" ] && WHY_NO_32+=": $(cat "$WINE32_NOTE")"
    return 1
  fi
  if [ ! -x "$WINE32" ]; then
    WHY_NO_32="Debian's 32-bit Wine (wine32:i386, $WINE32) is not installed"
    [ -s "$WINE32_NOTE" ] && WHY_NO_32+=": $(cat "$WINE32_NOTE")"
    return 1
  fi
  if ! "$WINE32" --version >/dev/null 2>&1; then
    WHY_NO_32="$WINE32 does not start here"
    return 1
  fi
}

# Starts Xvfb on a free display with the given screen size; Xvfb itself picks
# the display, so environments started at the same time cannot collide.
start_xvfb() {   # start_xvfb <state dir> <WxH>
  local fd_file=$1/display
  rm -f "$fd_file"
  Xvfb -displayfd 3 -screen 0 "${2}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(tr -d '[:space:]' <"$fd_file")
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
  if [ -z "${KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then start_xvfb "$dir" "$screen"; fi
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
  # Wine's own fonts (fonts-wine: Marlett for the caption buttons, Tahoma for
  # dialogs) are where this Wine does not look for them: into the prefix.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Verdana, the captions' face, is not installed here: let Wine draw it with
  # DejaVu Sans Condensed, which has a real bold. Plain DejaVu Sans sets
  # "Installation de KORVANE 6" 167 pixels wide at 8.25 points, where
  # Verdana's advances come to about 163 and the caption's box has 164: a
  # stand-in wider than the real face would cut captions that fit on Windows.
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d 'DejaVu Sans Condensed' /f >/dev/null 2>&1
  # No window manager runs on the virtual display: windows that Wine left to
  # one ("managed") would cost two seconds each time one is hidden, as Wine
  # waits in vain for the manager to withdraw it. Unmanaged, Wine draws the
  # frames itself and hides a window at once.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
  # A persistent server: each program then starts in a tenth of a second.
  "$WINESERVER" -p
  # Start Wine's own background processes now, with their output going
  # nowhere: started by the first test instead, they would inherit its output
  # pipe and keep ctest waiting for it to close.
  "$WINE" wineboot >/dev/null 2>&1 </dev/null
}

# Starts the menu inside a Wine desktop window as large as the screen (it
# draws the title bar and frame that a screenshot should show), in the
# background, and returns once the menu's window is on the screen, with the
# pointer parked off it so that no entry is lit. The system language is
# LC_ALL's, or the given locale's.
start_menu_on_desktop() {   # start_menu_on_desktop <desktop name> <menu exe> [locale]
  env ${3:+LC_ALL=$3} "$WINE" explorer "/desktop=$1,1024x768" "$2" &
  for _ in $(seq 100); do
    xdotool search --name "KORVANE 6" >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool mousemove 5 5
  sleep 1
}

wine_env_down() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
