#!/bin/bash
# Times a whole run of the program on a long real text: the King James Bible (bible-kjv, about
# 4.4 MB) against a dictionary-built words database (zorvian-words build), with "1" piped in as
# the answer to every choice prompt, offline. Not a test: it prints the program's own summary
# (the time of the reading loop) and the wall time of the whole run.
#
#   tests/engine/long_text_benchmark.sh <build folder> [input text]
set -euo pipefail

build=${1:?usage: $0 <build folder> [input text]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/output" "$work/unknown_words"

if [[ $# -ge 2 ]]; then
  cp "$2" "$work/input.txt"
else
  bible -f "Genesis 1:1-Revelation 22:21" > "$work/input.txt"
fi
"$build/zorvian-words" build --output "$work/zrv_words.db" > /dev/null
# Input file, accent 16, names transliterated, start; then an answer for every prompt.
{ printf '1\n16\ny\ns\n'; yes 1 | head -n 2000000 || true; } > "$work/answers.txt"

cd "$work"
# The program as shipped, offline: the repository cannot be reached, so it goes on with the local
# database. (The loopback build would fetch from whatever test server holds the loopback port.)
start=$(date +%s.%N)
"$build/zorvian" < answers.txt > stdout.txt
end=$(date +%s.%N)
if ! grep -q 'Defaulting to the local Words Database.' stdout.txt; then
  echo "the run did not keep the local database:" >&2
  sed -n '11,16p' stdout.txt >&2
  exit 1
fi

echo "input: $(wc -c < input.txt) bytes, $(wc -w < input.txt) words"
echo "choice prompts: $(grep -c 'More than one transliteration' stdout.txt || true)"
grep -A3 'Transliteration completed in' stdout.txt
echo "whole run: $(echo "$end - $start" | bc) s wall"
