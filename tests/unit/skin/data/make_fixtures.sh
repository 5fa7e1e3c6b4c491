#!/usr/bin/env bash
# Regenerates the Info-ZIP skin archive fixtures of the skin reader tests.
# Needs the Info-ZIP `zip` program, cmake and a host C++ compiler; the tests
# themselves only read the checked-in results.
#
#   tests/unit/skin/data/make_fixtures.sh
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../../../.." && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

cmake -S "$ROOT/tools" -B "$WORK/tools" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WORK/tools" >/dev/null
"$WORK/tools/kv90_skinmaker" --resource "$WORK/SKINDATA.SK2"
mkdir -p "$WORK/lower"
cp "$WORK/SKINDATA.SK2" "$WORK/lower/skindata.sk2"
# A fixed time stamp keeps the fixtures the same from run to run.
touch -t 202401020304.05 "$WORK/SKINDATA.SK2" "$WORK/lower/skindata.sk2"

# Info-ZIP writes a ZIP archive; the engine's archives differ only in their first two bytes.
to_skin_archive() {
  printf 'SK' | dd of="$1" bs=1 seek=0 count=2 conv=notrunc status=none
}

cd "$WORK"
zip -q -X -j plain.zip SKINDATA.SK2
zip -q -X -j -e -P secret encrypted.zip SKINDATA.SK2
zip -q -X -j lower.zip lower/skindata.sk2
zip -q -X -j commented.zip SKINDATA.SK2
echo "a skin archive with a comment" | zip -q -z commented.zip

cp plain.zip "$HERE/infozip_plain_pk.zip"
for name in plain encrypted lower commented; do
  cp "$name.zip" "$HERE/infozip_$name.ssk"
  to_skin_archive "$HERE/infozip_$name.ssk"
done
ls -l "$HERE"
