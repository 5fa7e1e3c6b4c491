#!/usr/bin/env bash
# BmpToJpg under Wine next to Debian's cjpeg run natively on the same bitmap.
#   bench/jpeg/run.sh [build folder] [runs]
# The build folder must hold kv90_jpeg_bench (scripts/build --target benchmarks).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/env.sh"
build="${1:-$KV90_BUILD}"
exe="$(find "$build" -name kv90_jpeg_bench.exe -print -quit)"
if [ -z "$exe" ]; then
  echo "kv90_jpeg_bench.exe not found under $build" >&2
  exit 1
fi
command -v cjpeg >/dev/null || { echo "cjpeg is missing (libjpeg-turbo-progs)" >&2; exit 1; }
exec python3 "$here/compare.py" "$exe" "${2:-50}"
