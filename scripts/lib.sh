# Shared by scripts/run, scripts/test and scripts/wine: installs what the build and the Wine
# runtime need on a Debian 12 machine, and sets up a display and a Wine prefix to run the
# program in. Sourced, not run.
#
# What a run makes, it undoes, and nothing else: the caller's WINEPREFIX, display and folders
# are never stopped or removed, whatever the variables say, and an error, a bad argument or an
# interrupt at any moment leaves nothing of the run behind (plindar_begin). Two runs at once,
# in one checkout or two, wait for each other where they share something (a build folder, a
# prefix kept between runs) and otherwise keep apart (each its own display, its own throwaway
# prefix).

PLINDAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

plindar_log() { printf '[plindar] %s\n' "$*" >&2; }

# The file descriptors that hold this run's locks. Every long-lived process the scripts start
# (Xvfb, Wine and its server, ctest) is started with them closed: a lock must end with the run
# that took it, not live on in a server the run left behind.
PLINDAR_BUILD_LOCK_FD=8
PLINDAR_PREFIX_LOCK_FD=7

# Runs a command with the locks' descriptors closed.
plindar_unlocked() { "$@" 7>&- 8>&-; }

# --- What this run made, undone on the way out --------------------------------------------------

PLINDAR_UNDO=()

# Call first in a script that makes anything: a scratch folder of the run's own (PLINDAR_SCRATCH)
# and traps that, on every way out (done, failed, Ctrl+C, killed), undo what the run made, last
# made first.
plindar_begin() {
  PLINDAR_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/plindar.XXXXXX") || {
    plindar_log "cannot make a temporary folder in ${TMPDIR:-/tmp}; set TMPDIR to a writable folder"
    exit 1
  }
  plindar_undo rm -rf "$PLINDAR_SCRATCH"
  trap plindar_finish EXIT
  trap 'plindar_interrupted 130' INT
  trap 'plindar_interrupted 143' TERM
  trap 'plindar_interrupted 129' HUP
}

# Records a command that undoes something this run made; PLINDAR_UNDONE_BY is its number, for
# plindar_undo_now.
plindar_undo() {
  PLINDAR_UNDONE_BY=${#PLINDAR_UNDO[@]}
  PLINDAR_UNDO+=("$(printf '%q ' "$@")")
}

# Undoes one thing now (its number from plindar_undo), and not again on the way out.
plindar_undo_now() {
  local command=${PLINDAR_UNDO[$1]}
  PLINDAR_UNDO[$1]=
  [ -z "$command" ] || eval "$command" >/dev/null 2>&1 || true
}

plindar_interrupted() {
  plindar_log "interrupted: undoing what this run made"
  exit "$1"
}

plindar_finish() {
  local status=$? i
  trap '' INT TERM HUP  # a second Ctrl+C does not cut the undoing short
  trap - EXIT
  for ((i = ${#PLINDAR_UNDO[@]} - 1; i >= 0; i--)); do plindar_undo_now "$i"; done
  exit "$status"
}

# --- Packages ----------------------------------------------------------------------------------

# The packages' names, for the message that asks the user to install them.
PLINDAR_PACKAGES="cmake make g++-mingw-w64-i686-win32 mingw-w64-i686-dev googletest
  g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev clang libclang-rt-dev
  wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine
  locales"

plindar_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    plindar_log "installing needs root, and there is no sudo here: run this command as root once," \
      "or have an administrator run: dpkg --add-architecture i386 && apt-get update &&" \
      "apt-get install" $PLINDAR_PACKAGES "&& localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 &&" \
      "localedef -i en_US -f UTF-8 en_US.UTF-8"
    return 1
  fi
}

# Installs, when any is missing: CMake and make; the 32- and 64-bit mingw-w64 C++ compilers (Win32
# threads; the 64-bit one builds the proof build and the 64-bit stand-in applet); GoogleTest's
# sources; clang with its libFuzzer runtime; Wine (32- and 64-bit) with its fonts; Xvfb, xauth,
# x11-utils, xdotool and ImageMagick; a Chinese font; and the zh_CN.UTF-8 and en_US.UTF-8
# locales.
plindar_install_deps() {
  local missing=0
  for tool in cmake clang++ i686-w64-mingw32-g++-win32 x86_64-w64-mingw32-g++-win32 \
      wineserver Xvfb xauth xwininfo xdotool import flock; do
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
    plindar_as_root dpkg --add-architecture i386
    plindar_as_root apt-get update -qq
    # shellcheck disable=SC2086  # one word a package
    plindar_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
      --no-install-recommends $PLINDAR_PACKAGES >/dev/null
  fi
  # The zh_CN locale gives Wine the code page 936 and a Chinese user interface; en_US gives
  # the code page 1252 of an English Windows, which some tests start the program under.
  for locale in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf8\$"; then
      plindar_log "generating the $locale.UTF-8 locale"
      if [ ! -e "/usr/share/i18n/locales/$locale" ]; then
        plindar_as_root apt-get update -qq
        plindar_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
          --no-install-recommends locales >/dev/null
      fi
      plindar_as_root localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
  done
}

# --- Which build runs here -----------------------------------------------------------------------

# The Wine loaders Debian installs. The `wine` wrapper always picks the 32-bit one when it is
# installed, and some kernels refuse every 32-bit program ("Exec format error"), so the scripts
# never call the wrapper: they choose here.
PLINDAR_WINE32=/usr/lib/wine/wine
PLINDAR_WINE64=/usr/lib/wine/wine64

# Whether this machine runs 32-bit programs, asked of the kernel itself before anything is
# installed: a 96-byte 32-bit Linux program that only exits with the code 32, written into the
# run's scratch folder. Where the kernel refuses it, PLINDAR_32BIT_REFUSAL holds the shell's
# words ("Exec format error"). Where the probe cannot be written or run at all (a full or
# noexec temporary folder), that is said as such, and the script stops.
plindar_runs_32bit() {
  local probe=${PLINDAR_SCRATCH:?plindar_begin first}/probe32 said code=0
  local bytes='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  bytes+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00'
  bytes+='\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'
  bytes+='\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'
  bytes+='\x05\x00\x00\x00\x00\x10\x00\x00'
  bytes+='\xb8\x01\x00\x00\x00\xbb\x20\x00\x00\x00\xcd\x80'  # exit(32)
  if ! printf "$bytes" >"$probe" 2>/dev/null || ! chmod +x "$probe"; then
    plindar_log "cannot write a test program into $PLINDAR_SCRATCH (is the disk full?); set TMPDIR to a writable folder"
    exit 1
  fi
  said=$("$probe" 2>&1) || code=$?
  rm -f "$probe"
  [ "$code" -eq 32 ] && return 0
  if [[ $said == *"Exec format error"* ]]; then
    PLINDAR_32BIT_REFUSAL="Exec format error"
    return 1
  fi
  plindar_log "cannot run a test program in $PLINDAR_SCRATCH: ${said:-exit $code}" \
    "(a noexec temporary folder?); set TMPDIR to a folder that allows running programs"
  exit 1
}

# Sets PLINDAR_LOADER to the loader that runs programs of the architecture $1 (32 or 64) here.
# Where it cannot run, says why in the loader's own words and what to do, and fails. Each
# loader is asked once: the answer is kept in the environment, for the scripts this one starts.
plindar_find_loader() {
  local arch=$1 said code=0 known
  case $arch in
    32) PLINDAR_LOADER=$PLINDAR_WINE32 ;;
    64) PLINDAR_LOADER=$PLINDAR_WINE64 ;;
    *) plindar_log "no such architecture: '$arch' (32 or 64)"; return 2 ;;
  esac
  known=PLINDAR_LOADER_RUNS_$arch
  [ -n "${!known:-}" ] && return 0
  said=$("$PLINDAR_LOADER" --version 2>&1) || code=$?
  if [ "$code" -eq 0 ]; then
    export "$known=1"
    return 0
  fi
  plindar_log "the $arch-bit Wine loader does not run on this machine: '$PLINDAR_LOADER --version'" \
    "says: ${said:-nothing} (exit $code)"
  if [ "$arch" = 32 ]; then
    plindar_log "this machine cannot run 32-bit programs; use the 64-bit build (PLINDAR_TEST_ARCH=64, or leave the choice to the scripts)"
  else
    plindar_log "install Wine as scripts/test does (apt-get install wine64), or run on another machine"
  fi
  return 1
}

# Prints the loader for $1; the form for a command substitution.
plindar_wine_loader() {
  plindar_find_loader "$1" || return
  echo "$PLINDAR_LOADER"
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

# --- Building ------------------------------------------------------------------------------------

# The CMake preset of an architecture.
plindar_preset() { [ "$1" = 64 ] && echo win64 || echo win32; }
# Where a preset builds.
plindar_build_dir() { [ "$1" = 64 ] && echo "$PLINDAR_ROOT/build-win64" || echo "$PLINDAR_ROOT/build"; }

# Takes the lock of an architecture's build folder: one run at a time configures, builds and
# tests there; another waits, and says so. Held until plindar_unlock_build or the run's end.
plindar_lock_build() {
  local dir
  dir=$(plindar_build_dir "$1")
  mkdir -p "$dir"
  eval "exec $PLINDAR_BUILD_LOCK_FD>\"\$dir/.plindar-lock\""
  if ! flock -n "$PLINDAR_BUILD_LOCK_FD"; then
    plindar_log "waiting for another run that is building or testing in $dir"
    flock "$PLINDAR_BUILD_LOCK_FD"
  fi
}
plindar_unlock_build() { eval "exec $PLINDAR_BUILD_LOCK_FD>&-"; }

# Configures and builds an architecture ($1), the given targets or all; the caller holds the
# build folder's lock.
plindar_build() {
  local arch=$1
  shift
  local fresh= dir
  dir=$(plindar_build_dir "$arch")
  # A folder configured with other compilers (the POSIX thread model's, before) keeps them:
  # configured afresh.
  if compgen -G "$dir/CMakeFiles/*/CMakeCXXCompiler.cmake" >/dev/null &&
      ! grep -q -- '-g++-win32"' "$dir"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
    plindar_log "configuring $dir afresh: it was configured with other compilers"
    fresh=--fresh
  fi
  (
    cd "$PLINDAR_ROOT"
    cmake --preset "$(plindar_preset "$arch")" $fresh >/dev/null
    if [ $# -gt 0 ]; then
      cmake --build --preset "$(plindar_preset "$arch")" --target "$@"
    else
      cmake --build --preset "$(plindar_preset "$arch")"
    fi
  )
}

# --- Running Wine --------------------------------------------------------------------------------

# Sets PLINDAR_WINE_ENV to the start of a command line that runs its command in Wine's
# locale: PLINDAR_WINE_LANG, a Chinese Windows unless set. Wine alone gets that locale, never the
# script or the tools it calls, which speak the caller's language. Wine keeps its server's
# folder in TMPDIR: in the run's scratch folder, so it goes with the run.
plindar_wine_env() {
  local locale=${PLINDAR_WINE_LANG:-zh_CN.UTF-8}
  PLINDAR_WINE_ENV=(env LANG="$locale" LC_ALL="$locale" WINEDEBUG=-all
    WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
    ${PLINDAR_SCRATCH:+TMPDIR="$PLINDAR_SCRATCH"})
}

# Runs a command in Wine's locale, with the locks closed.
plindar_in_wine_locale() {
  plindar_wine_env
  plindar_unlocked "${PLINDAR_WINE_ENV[@]}" "$@"
}

# Runs a Windows program, wineboot or reg among them, with the loader for PLINDAR_ARCH.
plindar_wine() {
  plindar_find_loader "${PLINDAR_ARCH:?plindar_choose_arch first}" || return 126
  plindar_in_wine_locale WINELOADER="$PLINDAR_LOADER" "$PLINDAR_LOADER" "$@"
}

# Stops every Wine process of the prefix $1, and waits for its server to end.
plindar_stop_wine() {
  plindar_wine_env
  WINEPREFIX=$1 plindar_unlocked "${PLINDAR_WINE_ENV[@]}" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 plindar_unlocked "${PLINDAR_WINE_ENV[@]}" wineserver -w >/dev/null 2>&1 || true
}

# Starts a 24-bit Xvfb on a display number that no one else holds (Xvfb picks it and says which
# once it takes connections) and exports DISPLAY. Stopped on the way out.
plindar_start_xvfb() {
  local said=$PLINDAR_SCRATCH/display log=$PLINDAR_SCRATCH/xvfb.log pid number=
  : >"$said"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$said" >"$log" 2>&1 7>&- 8>&- &
  pid=$!  # Xvfb itself, to be stopped: no function or subshell between
  plindar_undo plindar_stop_process "$pid"
  for _ in $(seq 1 100); do
    read -r number <"$said" || true
    if [[ $number =~ ^[0-9]+$ ]]; then
      export DISPLAY=:$number
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  plindar_log "Xvfb did not start; it said (last lines):"
  tail -n 5 "$log" | sed 's/^/    /' >&2
  return 1
}

# Ends a process this run started, and waits for it.
plindar_stop_process() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 1 50); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null || true
}

# --- Wine prefixes -------------------------------------------------------------------------------

# The marks of a prefix whose set-up has not finished, and of one these scripts made.
PLINDAR_INCOMPLETE=.plindar-incomplete
PLINDAR_OURS=.plindar-prefix

# Whether the prefix $1 is set up and ready: made by anyone, and not one of ours left half-made.
plindar_prefix_ready() {
  [ -e "$1/system.reg" ] && [ ! -e "$1/$PLINDAR_INCOMPLETE" ]
}

# Sets up a new Wine prefix in the empty or new folder $1 as a Windows installed for the locale
# $2 (zh_CN.UTF-8 unless given), for programs of PLINDAR_ARCH (a 64-bit Windows either way): its
# code page, message font and fonts are that locale's. Wine frames the windows itself, and the
# title-bar buttons find their glyphs. Marked unfinished until it is done. On failure it shows
# what Wine said and fails.
plindar_init_prefix() {
  local prefix=$1 locale=${2:-zh_CN.UTF-8} output
  mkdir -p "$prefix"
  : >"$prefix/$PLINDAR_INCOMPLETE"
  : >"$prefix/$PLINDAR_OURS"
  output=$(mktemp "${PLINDAR_SCRATCH:-${TMPDIR:-/tmp}}/wineboot.XXXXXX")
  # In the background, waited for: Ctrl+C then acts at once, not when Wine is done; on the way
  # out the set-up is stopped before its prefix is removed. (Each step is checked by hand:
  # `set -e` does not act inside a condition.)
  (
    export WINEPREFIX=$prefix WINEARCH=win64 PLINDAR_WINE_LANG=$locale
    plindar_wine wineboot -i || exit
    # Xvfb has no window manager: windows Wine leaves to one would wait for it (two seconds each
    # time a message box closes), so Wine manages and frames them itself.
    plindar_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || exit
    plindar_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f || exit
    # Wine draws the title-bar buttons with Marlett's glyphs; Debian's Wine does not find the
    # copy fonts-wine installs, so the prefix gets one (else the buttons read "0", "1", "r").
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || exit
    plindar_in_wine_locale wineserver -w
  ) >"$output" 2>&1 &
  local setup=$!
  plindar_undo plindar_stop_process "$setup"
  local stop_setup=$PLINDAR_UNDONE_BY status=0
  wait "$setup" || status=$?
  PLINDAR_UNDO[$stop_setup]=
  if [ "$status" -ne 0 ]; then
    plindar_log "setting up the Wine prefix $prefix failed; Wine said (last lines):"
    tail -n 15 "$output" | sed 's/^/    /' >&2
    plindar_log "what to do: read the lines above, then try again, or see README"
    rm -f "$output"
    return 1
  fi
  rm -f "$output" "$prefix/$PLINDAR_INCOMPLETE"
}

# Removes a prefix this run made, its Wine processes first; PLINDAR_KEEP_PREFIX keeps it.
plindar_remove_prefix() {
  plindar_stop_wine "$1"
  [ -n "${PLINDAR_KEEP_PREFIX:-}" ] || rm -rf "$1"
}

# A fresh Wine prefix under the temporary folder, set up as a Chinese Windows for this run only:
# exported as WINEPREFIX, stopped and removed by this run (PLINDAR_UNDONE_BY) unless
# PLINDAR_KEEP_PREFIX is set.
plindar_make_prefix() {
  local prefix
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/plindar-wine$PLINDAR_ARCH.XXXXXX")
  plindar_undo plindar_remove_prefix "$prefix"
  plindar_log "creating the Wine prefix $prefix"
  plindar_init_prefix "$prefix" zh_CN.UTF-8
  export WINEPREFIX=$prefix
}

# Takes the prefix $1, kept between runs, for this run, set up for the locale $2. Wine ties a
# prefix's server to one display, so one run at a time uses it; another waits, and says so. A
# set-up this run starts and does not finish is removed on the way out; one left half-made by a
# run that was killed outright is made afresh. A folder there that is neither a prefix nor ours
# is left alone, and the run stops. On the way out, a prefix of the project's own is left with
# no Wine running in it; in anyone else's, only this run's program is stopped.
plindar_use_prefix() {
  local prefix=$1 locale=$2 locks
  locks=${XDG_CACHE_HOME:-$HOME/.cache}/plindar/locks
  mkdir -p "$locks"
  eval "exec $PLINDAR_PREFIX_LOCK_FD>\"\$locks/\$(printf %s \"\$prefix\" | md5sum | cut -c1-16)\""
  if ! flock -n "$PLINDAR_PREFIX_LOCK_FD"; then
    plindar_log "waiting for another run that uses the Wine prefix $prefix (or set PLINDAR_RUN_PREFIX)"
    flock "$PLINDAR_PREFIX_LOCK_FD"
  fi
  if ! plindar_prefix_ready "$prefix"; then
    if [ -e "$prefix/$PLINDAR_INCOMPLETE" ]; then
      plindar_log "$prefix is a Wine prefix whose set-up did not finish: making it afresh"
      plindar_remove_prefix "$prefix"
    elif [ -e "$prefix" ] && [ -n "$(ls -A "$prefix")" ]; then
      plindar_log "$prefix is not a Wine prefix, and not empty: name another folder, or remove it"
      return 1
    fi
    plindar_log "setting up the Wine prefix $prefix as a Windows for $locale (once; about 30 s)"
    plindar_undo plindar_remove_unfinished_prefix "$prefix"
    local undo=$PLINDAR_UNDONE_BY
    plindar_init_prefix "$prefix" "$locale"
    PLINDAR_UNDO[$undo]=
  fi
  [ ! -e "$prefix/$PLINDAR_OURS" ] || plindar_undo plindar_stop_wine "$prefix"
}

# Removes the prefix $1 if its set-up has not finished.
plindar_remove_unfinished_prefix() {
  [ ! -e "$1/$PLINDAR_INCOMPLETE" ] || plindar_remove_prefix "$1"
}
