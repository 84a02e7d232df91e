#!/usr/bin/env bash
# Makes the guide's pictures with the program itself: window grabs from the
# picture tests (offscreen, so no display is needed) and the analysed
# drawing of an example from --export-picture. Run it after the windows
# change, from the project root:
#   docs/make-pictures.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
out=docs/pictures
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --build "$build" --target ui_tests pelodyn > /dev/null
rm -rf "$out"
mkdir -p "$out"
PELODYN_HOME=$tmp PELODYN_PICTURES=$tmp QT_QPA_PLATFORM=offscreen \
  "$build/tests/ui/ui_tests" --gtest_filter='Screenshots.*' > /dev/null 2>&1
# The pictures the guides show, under the names they use: those of the
# worked study (study-*, the forms and dialogs on it) and of the windows
# around it.
keep=(
  step-page-0-english step-page-1-english step-page-3-english step-page-4-1-english step-page-5-english
  step-page-0-thai soil-properties-english soil-properties-thai setting-english main-thai
  study-water-line study-finished-main study-finished-progress study-contours
  study-finished-main-thai study-failure-geometry-thai
  batch-selected-english batch-report-english vegetation-page-0-english vegetation-page-2-english
)
# A picture the guides name that the tests did not make fails the script.
for name in "${keep[@]}"; do
  cp "$tmp/$name.png" "$out/$name.png"
done
cp examples/layered-phreatic-loads.pdd "$tmp/"
PELODYN_HOME=$tmp QT_QPA_PLATFORM=offscreen "$build/app/gui/pelodyn" --lang en --analyse \
  --export-picture "$out/layered-analysed.png" --size 1400x800 "$tmp/layered-phreatic-loads.pdd" > /dev/null
# The printed drawing page and the first page of the data report, as PDF
# and rendered.
PELODYN_HOME=$tmp QT_QPA_PLATFORM=offscreen "$build/app/gui/pelodyn" --lang en --analyse \
  --export-drawing-page "$tmp/page.pdf" --export-data-report "$tmp/data.pdf" "$tmp/layered-phreatic-loads.pdd" > /dev/null
pdftoppm -r 80 -png -singlefile "$tmp/page.pdf" "$out/drawing-page"
pdftoppm -r 80 -png -singlefile -f 1 -l 1 "$tmp/data.pdf" "$out/data-report"
echo "pictures in $out:"
ls "$out"
