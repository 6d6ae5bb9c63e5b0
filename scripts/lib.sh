# Shared by scripts/run and scripts/test: installs what the build and the Wine runtime need on
# a Debian 12 machine, and sets up a display and a Wine prefix to run the program in.
# Sourced, not run.

PLINDAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

plindar_log() { printf '[plindar] %s\n' "$*" >&2; }

plindar_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs, when any is missing: CMake and make; the 32-bit mingw-w64 C++ compiler (POSIX threads)
# and the 64-bit C compiler (for the 64-bit stand-in applet); GoogleTest's sources; clang with
# its libFuzzer runtime; Wine (32- and 64-bit) with its fonts; Xvfb, xauth, x11-utils, xdotool
# and ImageMagick; a Chinese font; and the zh_CN.UTF-8 and en_US.UTF-8 locales.
plindar_install_deps() {
  local missing=0
  for tool in cmake clang++ i686-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-win32 wine Xvfb xauth xwininfo xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || missing=1
  done
  [ -e /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || missing=1
  # Wine's own fonts, Marlett among them (the title-bar buttons' glyphs).
  [ -e /usr/share/wine/fonts/marlett.ttf ] || missing=1
  [ -d /usr/src/googletest/googletest ] || missing=1
  compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || missing=1
  [ -x /usr/lib/wine/wine ] || [ -e /usr/lib/i386-linux-gnu/wine ] || missing=1
  if [ "$missing" -eq 1 ]; then
    plindar_log "installing the build and runtime packages (needs root)"
    export DEBIAN_FRONTEND=noninteractive
    plindar_as_root dpkg --add-architecture i386
    plindar_as_root apt-get update -qq
    plindar_as_root apt-get install -y -qq --no-install-recommends \
      cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev googletest \
      gcc-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev clang libclang-rt-dev \
      wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei \
      fonts-wine locales \
      >/dev/null
  fi
  # The zh_CN locale gives Wine the code page 936 and a Chinese user interface; en_US gives
  # the code page 1252 of an English Windows, which some tests start the program under.
  for locale in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf8\$"; then
      plindar_log "generating the $locale.UTF-8 locale"
      if [ ! -e "/usr/share/i18n/locales/$locale" ]; then
        plindar_as_root apt-get update -qq
        DEBIAN_FRONTEND=noninteractive plindar_as_root apt-get install -y -qq --no-install-recommends locales >/dev/null
      fi
      plindar_as_root localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
  done
}

plindar_configure() {
  cd "$PLINDAR_ROOT"
  cmake --preset win32 >/dev/null
}

plindar_configure_and_build() {
  plindar_configure
  cmake --build --preset win32
}

# Starts a 24-bit Xvfb on a free display number and exports DISPLAY. Stopped on exit.
plindar_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  PLINDAR_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  plindar_log "Xvfb did not start on $DISPLAY"
  return 1
}

# Sets up a new Wine prefix at $1 as a Windows installed for the locale $2 (zh_CN.UTF-8 unless
# given): its code page, message font and fonts are that locale's. Wine frames the windows itself,
# and the title-bar buttons find their glyphs.
plindar_init_prefix() {
  local prefix=$1 locale=${2:-zh_CN.UTF-8}
  mkdir -p "$prefix"
  (
    export WINEPREFIX=$prefix LANG=$locale LC_ALL=$locale WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
    wineboot -i >/dev/null 2>&1
    # Xvfb has no window manager: windows Wine leaves to one would wait for it (two seconds each
    # time a message box closes), so Wine manages and frames them itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # Wine draws the title-bar buttons with Marlett's glyphs; Debian's Wine does not find the
    # copy fonts-wine installs, so the prefix gets one (else the buttons read "0", "1", "r").
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
  )
}

# A fresh Wine prefix under /tmp with a Chinese locale, for this run only: stopped and removed
# on exit unless PLINDAR_KEEP_PREFIX is set.
plindar_make_prefix() {
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/plindar-wine.XXXXXX)
  plindar_log "creating the Wine prefix $WINEPREFIX"
  plindar_init_prefix "$WINEPREFIX" zh_CN.UTF-8
}

# Stops the Xvfb this script started, if any.
plindar_cleanup_display() {
  [ -n "${PLINDAR_XVFB_PID:-}" ] && kill "$PLINDAR_XVFB_PID" 2>/dev/null || true
}

# Stops and removes the throwaway prefix, and the Xvfb.
plindar_cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${PLINDAR_KEEP_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
  fi
  plindar_cleanup_display
}
