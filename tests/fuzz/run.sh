#!/usr/bin/env bash
# Builds the skin parser's fuzz target natively with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a bounded time from the shipped skin file.
# Usage: run.sh SOURCE_DIR BUILD_DIR [SECONDS] [CLANG++]
set -euo pipefail
source_dir=$1 build_dir=$2 seconds=${3:-30} clang=${4:-clang++}
work="$build_dir/fuzz"
mkdir -p "$work/corpus"
cp "$source_dir/skin/skinh.she" "$work/corpus/shipped.she"
printf '[window]\nbackground = #123456\n' >"$work/corpus/small.she"
probe='extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }'
if ! "$clang" -x c++ -fsanitize=fuzzer - -o "$work/probe" <<<"$probe" >/dev/null 2>&1; then
  echo "skipped: needs clang's libFuzzer runtime (Debian: libclang-rt-dev)"
  exit 0
fi
"$clang" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$source_dir" "$source_dir/tests/fuzz/skin_parser_fuzz.cpp" "$source_dir/skin/SkinFile.cpp" \
  -o "$work/skin_parser_fuzz"
cd "$work"
./skin_parser_fuzz -max_total_time="$seconds" -max_len=70000 -timeout=10 -print_final_stats=1 \
  corpus 2>&1 | tail -n 12
