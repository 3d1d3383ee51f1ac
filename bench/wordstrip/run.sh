#!/usr/bin/env bash
# wordstrip against the office's own batch conversion: 20 small Word documents to cp1251 text
# with CR LF, each tool in one invocation with a fresh private profile, and the same with one
# document (nearly all of it is the office's start). Not a test: run by hand.
#   bash bench/wordstrip/run.sh [path/to/wordstrip] [runs]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
wordstrip="${1:-$root/build-ws/bin/wordstrip}"
runs="${2:-10}"
soffice=/usr/lib/libreoffice/program/soffice
[ -x "$wordstrip" ] || { echo "no wordstrip at $wordstrip (build it first)"; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/docs" "$work/one" "$work/out-ws" "$work/out-lo"

# 20 small documents, made by wordstrip itself from hand-written RTF (Cyrillic, a comment).
for n in $(seq -w 1 20); do
  {
    printf '{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}\n'
    for p in $(seq 1 30); do
      printf '{\\pard '
      printf 'Документ %s, абзац %s: съешь же ещё этих мягких французских булок, да выпей чаю.' "$n" "$p" \
        | iconv -f utf-8 -t cp1251 | od -An -v -tx1 | tr -s ' \n' ' ' | sed "s/ \([0-9a-f][0-9a-f]\)/\\\\'\1/g"
      printf '\\par}\n'
    done
    printf '{\\pard x{\\*\\atnid A}{\\*\\atnauthor A}\\chatn{\\*\\annotation note}\\par}}\n'
  } > "$work/src/doc$n.rtf"
done
"$wordstrip" -q -f doc -o "$work/docs" "$work"/src/*.rtf
cp "$work/docs/doc01.doc" "$work/one/"

ws_cmd() { # $1: input folder
  echo "rm -rf $work/out-ws; mkdir $work/out-ws; $wordstrip -q -o $work/out-ws $1/*.doc"
}
lo_cmd() {
  echo "rm -rf $work/out-lo $work/profile-lo; mkdir $work/out-lo; $soffice -env:UserInstallation=file://$work/profile-lo --headless --norestore --convert-to 'txt:Text (encoded):MS_1251,CRLF' --outdir $work/out-lo $1/*.doc >/dev/null 2>&1"
}

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs "$runs" --style basic --export-json "$work/twenty.json" \
    -n "wordstrip, 20 documents" "$(ws_cmd "$work/docs")" \
    -n "soffice --convert-to, 20 documents" "$(lo_cmd "$work/docs")"
  hyperfine --warmup 1 --runs "$runs" --style basic --export-json "$work/one.json" \
    -n "wordstrip, 1 document" "$(ws_cmd "$work/one")" \
    -n "soffice --convert-to, 1 document" "$(lo_cmd "$work/one")"
  python3 - "$work/twenty.json" "$work/one.json" <<'PY'
import json, sys
for f in sys.argv[1:]:
    for r in json.load(open(f))["results"]:
        print(f'{r["command"]:40s} median {r["median"]:.3f} s')
PY
else
  for label in "20 documents:$work/docs" "1 document:$work/one"; do
    dir="${label#*:}"
    for tool in ws lo; do
      cmd="$([ $tool = ws ] && ws_cmd "$dir" || lo_cmd "$dir")"
      times=()
      for _ in $(seq "$runs"); do
        start=$(date +%s.%N); bash -c "$cmd"; end=$(date +%s.%N)
        times+=("$(echo "$end - $start" | bc)")
      done
      printf '%-12s %-3s median %s s\n' "${label%%:*}" "$tool" "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}')"
    done
  done
fi

# The same work: both wrote the same bytes.
bash -c "$(ws_cmd "$work/docs")"; bash -c "$(lo_cmd "$work/docs")"
if diff -r "$work/out-ws" "$work/out-lo" >/dev/null; then echo "outputs: identical"; else echo "outputs: DIFFER"; fi
