#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that everything has
# its place and that the installed programs work from there.
#   install_test.sh BUILD_DIR WITH_GUI
set -euo pipefail
build=$1
gui=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

expect() {
  for f in "$@"; do
    [[ -e "$prefix/$f" ]] || { echo "missing after install: $f" >&2; exit 1; }
  done
}
expect bin/pelodyn-cli share/pelodyn/whatsnew.txt share/pelodyn/examples/layered-phreatic-loads.pdd \
       share/applications/pelodyn.desktop share/mime/packages/pelodyn.xml \
       share/icons/hicolor/scalable/apps/pelodyn.svg share/icons/hicolor/48x48/apps/pelodyn.png \
       share/man/man1/pelodyn.1.gz share/man/man1/pelodyn-cli.1.gz

# The menu entry opens a project with the desktop program, in the
# engineering menus, for the project file type the mime package declares.
desktop=$prefix/share/applications/pelodyn.desktop
grep -qx 'Exec=pelodyn %f' "$desktop"
grep -q '^Categories=.*Science;.*Engineering;' "$desktop"
grep -qx 'MimeType=application/x-pelodyn-project;' "$desktop"
grep -q 'type="application/x-pelodyn-project"' "$prefix/share/mime/packages/pelodyn.xml"
grep -q 'value="=====Pelodyn_2.0_Data====="' "$prefix/share/mime/packages/pelodyn.xml"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$desktop"; fi

# The manual pages are whole and name their program.
gzip -dc "$prefix/share/man/man1/pelodyn-cli.1.gz" | grep -q '^\.TH PELODYN-CLI 1'
gzip -dc "$prefix/share/man/man1/pelodyn.1.gz" | grep -q 'export\\-drawing\\-page'

# The installed command-line program analyses an installed example where
# the user may write.
work=$prefix/work
mkdir -p "$work"
cp "$prefix/share/pelodyn/examples/homogeneous-grid.pdd" "$work/"
PELODYN_HOME=$work "$prefix/bin/pelodyn-cli" analyse --quiet "$work/homogeneous-grid.pdd" | grep -q 'Simplified Bishop'
[[ -s "$work/homogeneous-grid.pdr" ]]

if [[ "$gui" == ON ]]; then
  expect bin/pelodyn
  QT_QPA_PLATFORM=offscreen PELODYN_HOME=$work "$prefix/bin/pelodyn" --version | grep -q '2\.1'
  QT_QPA_PLATFORM=offscreen PELODYN_HOME=$work "$prefix/bin/pelodyn" --export-picture "$work/section.png" \
    "$work/homogeneous-grid.pdd"
  [[ -s "$work/section.png" ]]
fi
echo "installed and working under $prefix"
