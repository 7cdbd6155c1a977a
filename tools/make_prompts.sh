#!/usr/bin/env bash
# Writes the voice navigation prompts into data/ (or the folder given as the
# first argument): one short wave file per prompt name, spoken by espeak-ng and
# turned by sox into mono 16-bit PCM at 16 kHz with the silence at both ends
# cut off, without dither so that each run writes the same files. Needs the
# Debian packages espeak-ng and sox; the program and its build do not, since
# the files are shipped.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/data}

for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make_prompts: $tool is not installed" >&2; exit 1; }
done

# Prompt name and what it says.
prompts=(
  "Call|Call"
  "SPC|State, province or country"
  "County|County"
  "RstRcvd|R S T received"
  "RstSnt|R S T sent"
  "Dupe|Dupe"
  "NavDis|Voice navigation disabled"
  "NavEn|Voice navigation enabled"
)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
for prompt in "${prompts[@]}"; do
  name=${prompt%%|*}
  text=${prompt#*|}
  espeak-ng -v en-us -s 150 -w "$tmp/$name.wav" "$text"
  # Cut leading silence, reverse, cut again, reverse back; then a 50 ms tail
  # so the last sound is not clipped.
  sox -R -D "$tmp/$name.wav" -r 16000 -c 1 -b 16 -e signed-integer "$out/$name.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse pad 0 0.05
  printf '%s.wav  %s bytes  "%s"\n' "$name" "$(stat -c %s "$out/$name.wav")" "$text" >&2
done
