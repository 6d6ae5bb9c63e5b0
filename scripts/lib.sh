# Shared by scripts/run and scripts/test: installs what the build and the Wine runtime need on
# a Debian 12 machine, and sets up a display and a Wine prefix to run the program in.
# Sourced, not run.

PLINDAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

plindar_log() { printf '[plindar] %s\n' "$*" >&2; }

plindar_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs, when any is missing: CMake and make; the 32- and 64-bit mingw-w64 C++ compilers (POSIX
# threads; the 64-bit one builds the proof build and the 64-bit stand-in applet); GoogleTest's sources; clang with
# its libFuzzer runtime; Wine (32- and 64-bit) with its fonts; Xvfb, xauth, x11-utils, xdotool
# and ImageMagick; a Chinese font; and the zh_CN.UTF-8 and en_US.UTF-8 locales.
plindar_install_deps() {
  local missing=0
  for tool in cmake clang++ i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix \
      x86_64-w64-mingw32-gcc-win32 wine Xvfb xauth xwininfo xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || missing=1
  done
  [ -e /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || missing=1
  # Wine's own fonts, Marlett among them (the title-bar buttons' glyphs).
  [ -e /usr/share/wine/fonts/marlett.ttf ] || missing=1
  [ -d /usr/src/googletest/googletest ] || missing=1
  compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || missing=1
  [ -x "$PLINDAR_WINE32" ] && [ -x "$PLINDAR_WINE64" ] || missing=1
  if [ "$missing" -eq 1 ]; then
    plindar_log "installing the build and runtime packages (needs root)"
    export DEBIAN_FRONTEND=noninteractive
    plindar_as_root dpkg --add-architecture i386
    plindar_as_root apt-get update -qq
    plindar_as_root apt-get install -y -qq --no-install-recommends \
      cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev googletest \
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev clang libclang-rt-dev \
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

# The Wine loaders Debian installs. The `wine` wrapper always picks the 32-bit one when it is
# installed, and some kernels refuse every 32-bit program ("Exec format error"), so the scripts
# never call the wrapper: they choose here.
PLINDAR_WINE32=/usr/lib/wine/wine
PLINDAR_WINE64=/usr/lib/wine/wine64

# Whether this machine runs 32-bit programs, asked of the kernel itself before anything is
# installed: a 96-byte 32-bit Linux program that only exits with the code 32. Where the kernel
# refuses it, PLINDAR_32BIT_REFUSAL holds the shell's words ("Exec format error").
plindar_runs_32bit() {
  local probe said code
  probe=$(mktemp -p "$PLINDAR_ROOT" .probe32.XXXXXX)
  local bytes='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  bytes+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00'
  bytes+='\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'
  bytes+='\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'
  bytes+='\x05\x00\x00\x00\x00\x10\x00\x00'
  bytes+='\xb8\x01\x00\x00\x00\xbb\x20\x00\x00\x00\xcd\x80'  # exit(32)
  printf "$bytes" >"$probe"
  chmod +x "$probe"
  code=0
  said=$("$probe" 2>&1) || code=$?
  rm -f "$probe"
  [ "$code" -eq 32 ] && return 0
  PLINDAR_32BIT_REFUSAL=${said##*: }
  PLINDAR_32BIT_REFUSAL=${PLINDAR_32BIT_REFUSAL:-exit $code}
  return 1
}

# Prints the loader that runs programs of the architecture $1 (32 or 64) here. Where it cannot
# run, says why in the loader's own words and what to do, and fails.
plindar_wine_loader() {
  local arch=$1 loader said
  case $arch in
    32) loader=$PLINDAR_WINE32 ;;
    64) loader=$PLINDAR_WINE64 ;;
    *) plindar_log "no such architecture: '$arch' (32 or 64)"; return 2 ;;
  esac
  if said=$("$loader" --version 2>&1); then
    echo "$loader"
    return 0
  fi
  plindar_log "the $arch-bit Wine loader does not run on this machine: '$loader --version' says: ${said:-nothing (exit $?)}"
  if [ "$arch" = 32 ]; then
    plindar_log "this machine cannot run 32-bit programs; use the 64-bit build (PLINDAR_TEST_ARCH=64, or leave the choice to the scripts)"
  else
    plindar_log "install Wine as scripts/test does (apt-get install wine64), or run on another machine"
  fi
  return 1
}

# The one choice of architecture for running the program: the shipped 32-bit build where this
# machine runs 32-bit programs, else the 64-bit build of the same sources. Sets PLINDAR_ARCH
# (32 or 64) and PLINDAR_ARCH_WHY, a few words for the user.
plindar_choose_arch() {
  if plindar_runs_32bit; then
    PLINDAR_ARCH=32
    PLINDAR_ARCH_WHY="this machine runs 32-bit programs"
  else
    PLINDAR_ARCH=64
    PLINDAR_ARCH_WHY="this machine refuses 32-bit programs (\"$PLINDAR_32BIT_REFUSAL\")"
  fi
  export PLINDAR_ARCH
}

# The CMake preset of an architecture.
plindar_preset() { [ "$1" = 64 ] && echo win64 || echo win32; }
# Where a preset builds.
plindar_build_dir() { [ "$1" = 64 ] && echo "$PLINDAR_ROOT/build-win64" || echo "$PLINDAR_ROOT/build"; }

# Runs a Windows program, wineboot or reg among them, with the loader for PLINDAR_ARCH.
plindar_wine() {
  local loader
  loader=$(plindar_wine_loader "${PLINDAR_ARCH:?plindar_choose_arch first}") || return 126
  WINELOADER=$loader "$loader" "$@"
}

plindar_configure() {
  cd "$PLINDAR_ROOT"
  cmake --preset "$(plindar_preset "${1:-32}")" >/dev/null
}

plindar_configure_and_build() {
  plindar_configure "${1:-32}"
  cmake --build --preset "$(plindar_preset "${1:-32}")"
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

# Whether the prefix $1 is set up and ready: made by anyone, and not one of ours left half-made.
plindar_prefix_ready() {
  [ -e "$1/system.reg" ] && [ ! -e "$1/.plindar-incomplete" ]
}

# Sets up a new Wine prefix at $1 as a Windows installed for the locale $2 (zh_CN.UTF-8 unless
# given), for programs of PLINDAR_ARCH (a 64-bit Windows either way): its code page, message
# font and fonts are that locale's. Wine frames the windows itself, and the title-bar buttons
# find their glyphs. All or nothing: a set-up that dies leaves a mark that makes the next one
# start afresh. On failure it shows what Wine said and fails.
plindar_init_prefix() {
  local prefix=$1 locale=${2:-zh_CN.UTF-8} output
  if [ -e "$prefix/.plindar-incomplete" ]; then
    plindar_log "$prefix is a Wine prefix whose set-up did not finish: making it afresh"
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
  fi
  mkdir -p "$prefix"
  : >"$prefix/.plindar-incomplete"
  output=$(mktemp)
  # (Each step is checked by hand: `set -e` does not act inside a condition.)
  if ! (
    export WINEPREFIX=$prefix LANG=$locale LC_ALL=$locale WINEDEBUG=-all WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
    plindar_wine wineboot -i || exit
    # Xvfb has no window manager: windows Wine leaves to one would wait for it (two seconds each
    # time a message box closes), so Wine manages and frames them itself.
    plindar_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || exit
    plindar_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f || exit
    # Wine draws the title-bar buttons with Marlett's glyphs; Debian's Wine does not find the
    # copy fonts-wine installs, so the prefix gets one (else the buttons read "0", "1", "r").
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || exit
    wineserver -w
  ) >"$output" 2>&1; then
    plindar_log "setting up the Wine prefix $prefix failed; Wine said (last lines):"
    tail -n 15 "$output" | sed 's/^/    /' >&2
    plindar_log "what to do: read the lines above; 'rm -rf $prefix' and try again, or see README"
    rm -f "$output"
    return 1
  fi
  rm -f "$output" "$prefix/.plindar-incomplete"
}

# A fresh Wine prefix under /tmp with a Chinese locale, for this run only: stopped and removed
# on exit unless PLINDAR_KEEP_PREFIX is set.
plindar_make_prefix() {
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "/tmp/plindar-wine$PLINDAR_ARCH.XXXXXX")
  plindar_log "creating the Wine prefix $WINEPREFIX"
  plindar_init_prefix "$WINEPREFIX" zh_CN.UTF-8
}

# Stops the Xvfb this script started, if any.
plindar_cleanup_display() {
  [ -n "${PLINDAR_XVFB_PID:-}" ] && kill "$PLINDAR_XVFB_PID" 2>/dev/null || true
}

# Stops and removes the throwaway prefix, and the Xvfb.
plindar_cleanup() {
  plindar_cleanup_prefix
  plindar_cleanup_display
}

# Stops every Wine process of the throwaway prefix and removes it.
plindar_cleanup_prefix() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${PLINDAR_KEEP_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
    unset WINEPREFIX
  fi
}
