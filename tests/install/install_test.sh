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

# The documentation: the copyright file, the Debian changelog, the guide in
# both languages with every picture it shows and the schemas it links to.
doc=share/doc/pelodyn
expect $doc/copyright $doc/changelog.gz $doc/guide.md $doc/guide-th.md $doc/pelodyn-cli-result.schema.json
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$prefix/$doc/copyright"
gzip -dc "$prefix/$doc/changelog.gz" | head -1 | grep -Eq '^pelodyn \([0-9.]+\) [a-z]+; urgency=[a-z]+$'
gzip -dc "$prefix/$doc/changelog.gz" | grep -Eq '^ -- .+ <.+@.+>  [A-Z][a-z]{2}, [0-9]{2} [A-Z][a-z]{2} [0-9]{4} '
pictures=$(cat "$prefix/$doc/guide.md" "$prefix/$doc/guide-th.md" | grep -o '](pictures/[^)]*)' | sed 's/^](//; s/)$//' | sort -u)
[[ -n "$pictures" ]] || { echo "the installed guide shows no picture" >&2; exit 1; }
for picture in $pictures; do expect "$doc/$picture"; done

# The manual page's example, as a user would type it: run by a user who
# may not write into the installed folders (nobody, when the test runs as
# root; otherwise the installed examples are made read-only), in a home of
# its own. Nothing is written under share/.
example=$(gzip -dc "$prefix/share/man/man1/pelodyn-cli.1.gz" | sed -n '/^\.SH EXAMPLES/,/^\.SH/p' |
  sed -n '/^\.nf/,/^\.fi/p' | sed '1d;$d' | sed -e 's/\\-/-/g' -e "s/\\\\(aq/'/g" -e "s|/usr/share/|$prefix/share/|g")
grep -q 'cp .*/share/pelodyn/examples/' <<< "$example"
user_home=$(mktemp -d)
trap 'rm -rf "$prefix" "$user_home"' EXIT
chmod 755 "$prefix" "$user_home"
before=$(cd "$prefix/share" && find . | sort)
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  chown nobody "$user_home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod -R a-w "$prefix/share/pelodyn/examples"
fi
"${as_user[@]}" env -i HOME="$user_home" PATH="$prefix/bin:/usr/bin:/bin" bash -euo pipefail -c "$example" \
  > "$user_home/example.log" 2>&1 || { cat "$user_home/example.log" >&2; echo "the manual's example failed" >&2; exit 1; }
chmod -R u+w "$prefix/share/pelodyn/examples"
[[ -s "$user_home/pelodyn-examples/summary.txt" && -s "$user_home/pelodyn-examples/homogeneous-grid.pdr" ]]
cmp "$user_home/pelodyn-examples/summary.txt" "$user_home/pelodyn-examples/merged.txt"
[[ "$(cd "$prefix/share" && find . | sort)" == "$before" ]] || { echo "the example wrote under share/" >&2; exit 1; }

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
  # With --analyse every export prints the minimum of each selected method,
  # as --help says: the layered example leaves Ordinary out.
  cp "$prefix/share/pelodyn/examples/layered-phreatic-loads.pdd" "$work/"
  QT_QPA_PLATFORM=offscreen PELODYN_HOME=$work "$prefix/bin/pelodyn" --help | grep -q 'selected method'
  for export in --export-picture=$work/layered.png --export-drawing-page=$work/layered.pdf; do
    minima=$(QT_QPA_PLATFORM=offscreen PELODYN_HOME=$work "$prefix/bin/pelodyn" --analyse "$export" \
      "$work/layered-phreatic-loads.pdd" 2> /dev/null)
    [[ $(grep -Ec '^(janbu|bishop|spencer) [0-9.]+$' <<< "$minima") -eq 3 && $(wc -l <<< "$minima") -eq 3 ]] ||
      { echo "pelodyn --analyse $export printed: $minima" >&2; exit 1; }
  done
fi
echo "installed and working under $prefix"
