#!/usr/bin/env bash
# Screenshots of the running program, taken from the X server as a user would see them: with
# the shipped skin, the pixels of a button face, a frame's inside, the window background and
# the log list are the skin's colours; with a garbage skin file the program comes up all the
# same, in the look Windows gives it. Saves the pictures under the build folder.
# Usage: skin_screenshot.sh STAGE_DIR OUT_DIR ARCH (32 or 64: the build's architecture)
set -euo pipefail
stage=$1 out=$2 arch=$3
for tool in wineserver xwininfo xprop import convert compare; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: needs $tool (Wine, x11-utils, ImageMagick)"; exit 0; }
done
[ -n "${DISPLAY:-}" ] || { echo "skipped: needs an X server (DISPLAY), such as Xvfb"; exit 0; }
source "$(dirname "$0")/../../scripts/lib.sh"
PLINDAR_ARCH=$arch
loader=$(plindar_wine_loader "$arch") || { echo "skipped: needs Wine for $arch-bit programs"; exit 0; }
mkdir -p "$out"
failures=0
pid=
scratch=$(mktemp -d)
english_prefix=
# Whatever ends this script ends what it started: the program, the English prefix's Wine, and
# the folders it made.
finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  if [ -n "$english_prefix" ]; then
    WINEPREFIX=$english_prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$english_prefix"
  fi
  rm -rf "$scratch"
}
trap finish EXIT
temporary() { mktemp -d -p "$scratch"; }  # a new folder, removed on exit

# Starts Plindar from a folder, waits for the window of the process it started and sets cx and
# cy to its client area's top-left corner on the screen; the window is laid out 521 x 458 pixels
# at 96 DPI, with a frame of equal width on the left, right and bottom. Each step photographs
# its own window: the previous one must be gone, and the one found is the new process's.
start() {
  [ -z "$(window_geometry)" ] || { echo "FAIL a window of an earlier step is still up"; exit 1; }
  WINELOADER=$loader "$loader" "$1/Plindar.exe" >/dev/null 2>&1 &
  pid=$!  # the loader becomes the program: Wine gives its windows this process id
  # The X window exists (unmapped, small) before the program places and shows it: wait for its
  # laid-out size, let it paint, and read where it stands only then.
  geometry=
  for _ in $(seq 1 300); do
    geometry=$(window_geometry "$pid")
    if [ -n "$geometry" ] && [ "${geometry%% *}" -ge 521 ]; then break; fi
    sleep 0.2
  done
  [ -n "$geometry" ] || { echo "FAIL the window of process $pid did not come up"; exit 1; }
  sleep 1.5
  read -r w h x y <<<"$(window_geometry "$pid")"
  side=$(((w - 521) / 2))
  cx=$((x + side))
  cy=$((y + h - 458 - side))
}

# "w h x y" of the program's X window (of process $1 if given), from a line like
#   0x400003 "Plindar V2.0": ("plindar.exe" "Wine")  529x487+375+156  +375+156
window_geometry() {
  local line id
  xwininfo -root -tree 2>/dev/null | grep '"Plindar V2.0"' | while read -r line; do
    id=${line%% *}
    if [ -n "${1:-}" ] && ! xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $1\$"; then
      continue
    fi
    grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+' <<<"$line" |
      sed -E 's/([0-9]+)x([0-9]+).*\+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2 \3 \4/'
  done | sort -n -r | head -n 1 || true
}

stop() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  for _ in $(seq 1 100); do  # until its window is gone, so the next start finds its own
    [ -z "$(window_geometry)" ] && return 0
    sleep 0.1
  done
  echo "FAIL the program's window stayed after its process was ended"
  exit 1
}

pixel() {  # shot x y
  convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6
}

expect() {  # what actual wanted
  if [ "$2" = "$3" ]; then echo "ok   $1 #$2"; else echo "FAIL $1 #$2, wanted #$3"; failures=$((failures + 1)); fi
}

expect_not() {
  if [ "$2" != "$3" ]; then echo "ok   $1 #$2 (not #$3)"; else echo "FAIL $1 still #$3"; failures=$((failures + 1)); fi
}

# Points in client coordinates, inside large areas of one colour.
start "$stage"
import -window root "$out/skinned.png"
stop
shot="$out/skinned.png"
expect "window background" "$(pixel "$shot" $((cx + 260)) $((cy + 6)))" F4F6F9
expect "window background between frames" "$(pixel "$shot" $((cx + 400)) $((cy + 104)))" F4F6F9
expect "inside of a frame" "$(pixel "$shot" $((cx + 120)) $((cy + 336)))" F4F6F9
expect "button face" "$(pixel "$shot" $((cx + 30)) $((cy + 140)))" FFFFFF
expect "log list" "$(pixel "$shot" $((cx + 120)) $((cy + 280)))" FFFFFF
expect "help text, between its lines" "$(pixel "$shot" $((cx + 296)) $((cy + 165)))" FFFFFF

garbage=$(temporary)
cp "$stage/Plindar.exe" "$stage/SkinH_VB6.dll" "$garbage/"
head -c 3000 /dev/urandom >"$garbage/skinh.she"
start "$garbage"
import -window root "$out/unskinned.png"
stop
shot="$out/unskinned.png"
expect_not "window background with a garbage skin file" "$(pixel "$shot" $((cx + 260)) $((cy + 6)))" F4F6F9
expect_not "inside of a frame with a garbage skin file" "$(pixel "$shot" $((cx + 120)) $((cy + 336)))" F4F6F9
rm -rf "$garbage"

# Compares the client areas above the status bar (whose clock moves) of two shots.
above_status() {  # shot -> the client area above the status bar, beside it
  convert "$1" -crop "521x410+$cx+$cy" +repage "${1%.png}-client.png"
}
shoot() {  # folder name -> $out/name.png, and its client area
  start "$1"
  import -window root "$out/$2.png"
  stop
  above_status "$out/$2.png"
}
same_as() {  # what shot reference [most pixels that may differ]
  local differing
  differing=$(compare -metric AE "$out/$2-client.png" "$out/$3-client.png" null: 2>&1 || true)
  if [ "${differing%% *}" -le "${4:-0}" ] 2>/dev/null; then
    echo "ok   $1: $differing pixels differ"
  else
    echo "FAIL $1: $differing pixels differ"; failures=$((failures + 1))
  fi
}
with_face() {  # face -> a new folder holding the program and the shipped skin with that face
  local folder
  folder=$(temporary)
  cp "$stage/Plindar.exe" "$stage/SkinH_VB6.dll" "$folder/"
  sed "s/^face = .*/face = $1/" "$stage/skinh.she" >"$folder/skinh.she"
  echo "$folder"
}
above_status "$out/skinned.png"
above_status "$out/unskinned.png"

# A skin naming a face without a single Chinese glyph (Marlett, in every test prefix) shows its
# captions all the same: in a face that has them, as the shipped skin does here.
marlett=$(with_face Marlett)
shoot "$marlett" marlett
same_as "a skin whose face has no Chinese" marlett skinned
rm -rf "$marlett"

# Under the code page of an English Windows (1252) the Chinese stays readable: the same pixels
# as under code page 936, where empty boxes in place of the captions would differ in thousands.
english() { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 "$@"; }
english shoot "$stage" english
same_as "code page 1252" english skinned 500

# On a Windows set up for English (a prefix made under en_US) the message face holds no Chinese
# and Wine's font linking finds none. The captions still show, skinned and unskinned: exactly
# as when the skin, or Windows' message font, names the Chinese face installed there outright.
english_prefix=$(mktemp -d /tmp/plindar-wine-en.XXXXXX)
plindar_init_prefix "$english_prefix" en_US.UTF-8
in_english() { WINEPREFIX=$english_prefix LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 PLINDAR_WINE_LANG=en_US.UTF-8 "$@"; }
chinese_face="WenQuanYi Micro Hei"  # fonts-wqy-microhei, which the test command installs
in_english shoot "$stage" english-prefix
named=$(with_face "$chinese_face")
in_english shoot "$named" english-prefix-named
same_as "English Windows, skinned" english-prefix english-prefix-named
garbage=$(temporary)
cp "$stage/Plindar.exe" "$stage/SkinH_VB6.dll" "$garbage/"
printf 'not a skin' >"$garbage/skinh.she"
in_english shoot "$garbage" english-prefix-unskinned
# The message font as the prefix has it (11 pixels high, normal weight, pitch and family 0x22),
# with the Chinese face and the default character set.
weight_and_style=9001000000000001000000""22
face_hex=$(printf '%s' "$chinese_face" | iconv -t UTF-16LE | od -An -tx1 | tr -d ' \n')
while [ ${#face_hex} -lt 128 ]; do face_hex+=0; done
in_english plindar_wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MessageFont /t REG_BINARY \
  /d "F5FFFFFF000000000000000000000000${weight_and_style}$face_hex" /f >/dev/null 2>&1
in_english shoot "$garbage" english-prefix-unskinned-named
same_as "English Windows, unskinned" english-prefix-unskinned english-prefix-unskinned-named

# Text made 175% larger: the skin's font grows with it, but only as far as every caption still
# fits its control. The widest, on Command5 (client 16,344, 209 x 41), keeps clear of the
# button's sides: nothing darker than the face in the three columns inside its outline.
in_english plindar_wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MessageFont /t REG_BINARY \
  /d "EBFFFFFF000000000000000000000000${weight_and_style}$face_hex" /f >/dev/null 2>&1
in_english shoot "$stage" english-prefix-larger-text
for side in 1 205; do
  darkest=$(convert "$out/english-prefix-larger-text-client.png" -crop "3x25+$((16 + side))+352" \
    +repage -colorspace Gray -format '%[fx:minima]' info:)
  if awk "BEGIN { exit !($darkest > 0.6) }"; then
    echo "ok   175% text: Command5's caption clear of its side at $side (darkest $darkest)"
  else
    echo "FAIL 175% text: Command5's caption reaches its side at $side (darkest $darkest)"
    failures=$((failures + 1))
  fi
done
rm -rf "$named" "$garbage"
WINEPREFIX=$english_prefix wineserver -k >/dev/null 2>&1 || true
rm -rf "$english_prefix"

# Under code page 1252 the program in a folder named "Plāndar" must not read the skin file of a
# sibling folder "Plandar" (Windows' best-fit conversion of the path would name it). The decoy
# skin is red; the program's own folder has no skin file.
parent=$(temporary)
mkdir "$parent/Plāndar" "$parent/Plandar"
cp "$stage/Plindar.exe" "$stage/SkinH_VB6.dll" "$parent/Plāndar/"
cp "$stage/Plindar.exe" "$stage/SkinH_VB6.dll" "$parent/Plandar/"
printf '[window]\nbackground = #FF0000\n' >"$parent/Plandar/skinh.she"
english start "$parent/Plandar"  # the decoy itself: red, so a wrong read would show
import -window root "$out/decoy.png"
stop
expect "the decoy skin, read from its own folder" "$(pixel "$out/decoy.png" $((cx + 260)) $((cy + 6)))" FF0000
english start "$parent/Plāndar"
import -window root "$out/nonascii-folder.png"
stop
expect_not "a folder whose name code page 1252 cannot hold" "$(pixel "$out/nonascii-folder.png" $((cx + 260)) $((cy + 6)))" FF0000
rm -rf "$parent"

echo "screenshots in $out"
[ "$failures" -eq 0 ]
