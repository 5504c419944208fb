#!/usr/bin/env bash
# Makes the data layer's benchmark workbook OUT from Debian's tesseract-ocr-jav word list:
# unpacks jav.traineddata with combine_tessdata, lists its word DAWG with dawg2wordlist and
# hands the words to benchbook. Needs tesseract-ocr and tesseract-ocr-jav.
# Usage: make-bench-workbook.sh BENCHBOOK OUT [ROWS]
set -euo pipefail
benchbook=$1 out=$2 rows=${3:-200000}
traineddata=""
for d in /usr/share/tesseract-ocr/*/tessdata /usr/share/tesseract-ocr/tessdata; do
  [ -f "$d/jav.traineddata" ] && traineddata="$d/jav.traineddata" && break
done
if [ -z "$traineddata" ] || ! command -v combine_tessdata >/dev/null || ! command -v dawg2wordlist >/dev/null; then
  echo "make-bench-workbook: needs Debian's tesseract-ocr and tesseract-ocr-jav" \
       "(apt-get install tesseract-ocr tesseract-ocr-jav)" >&2
  exit 3
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && combine_tessdata -u "$traineddata" jav. >/dev/null 2>&1)
dawg2wordlist "$work/jav.lstm-unicharset" "$work/jav.lstm-word-dawg" "$work/words.txt" >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
"$benchbook" "$work/words.txt" "$out.tmp" "$rows"
mv "$out.tmp" "$out"
