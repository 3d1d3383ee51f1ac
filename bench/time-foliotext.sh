#!/usr/bin/env bash
# Times foliotext as a whole process (start, read, engine, write, exit) on a corpus file:
# median wall time of RUNS runs, MB/s of the input (1 MB = 10^6 bytes) and the largest
# maximum resident set size. Usage: time-foliotext.sh FOLIOTEXT [FILE] [extra options...]
set -euo pipefail
tool=${1:?usage: time-foliotext.sh FOLIOTEXT [FILE] [options...]}
file=${2:-$(dirname "$0")/../../shared/bench/book-wrapped.txt}
shift $(( $# >= 2 ? 2 : 1 ))
runs=${RUNS:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bytes=$(stat -c %s "$file")

measure() { # label, then the command's output arguments
  local label=$1; shift
  : > "$work/ns"; : > "$work/rss"
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=${EPOCHREALTIME/./}
    "$tool" --mode auto --post-process "$@" "$file" "${opts[@]}" > "$work/stdout"
    t1=${EPOCHREALTIME/./}
    echo $(( (t1 - t0) * 1000 )) >> "$work/ns"
    # A separate run for the memory figure, so that time(1) does not count in the timing.
    /usr/bin/time -f %M -a -o "$work/rss" "$tool" --mode auto --post-process "$@" "$file" "${opts[@]}" > /dev/null
  done
  local median rss
  median=$(sort -n "$work/ns" | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  rss=$(sort -n "$work/rss" | tail -1)
  awk -v l="$label" -v ns="$median" -v b="$bytes" -v rss="$rss" 'BEGIN {
    printf "%-28s median %7.1f ms  %7.1f MB/s  max RSS %6.1f MiB (%.1f x input)\n",
           l, ns / 1e6, b / (ns / 1e9) / 1e6, rss / 1024, rss * 1024 / b }'
}

opts=("$@")
base=$( { /usr/bin/time -f %M "$tool" --help > /dev/null; } 2>&1 )
echo "max RSS of 'foliotext --help' (start-up alone): $(( base / 1024 )) MiB"
echo "$(basename "$file"): $bytes bytes, $runs runs, options: --mode auto --post-process ${opts[*]:-}"
measure "to standard output" 
measure "to a file (-o, atomic)" -o "$work/book.txt"
