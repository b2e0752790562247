#!/usr/bin/env bash
# Installs the current build into a temporary prefix and checks the installed tree: every file
# in place, the menu entry valid, the manual pages rendering cleanly, the programs runnable.
# CMake passes the build and source directories, the version and the install directories.
set -euo pipefail

: "${BUILD_DIR:?}" "${SOURCE_DIR:?}" "${VERSION:?}" "${BINDIR:?}" "${DATADIR:?}" "${DOCDIR:?}"
: "${MANDIR:?}"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$BUILD_DIR" --prefix "$prefix" >/dev/null

bin=$prefix/$BINDIR
data=$prefix/$DATADIR
doc=$prefix/$DOCDIR
man1=$prefix/$MANDIR/man1
icons=$data/icons/hicolor
desktop=$data/applications/talveron.desktop

for program in talveron talveron-cli; do
  [ -x "$bin/$program" ] || fail "$bin/$program is missing or not executable"
done
for file in "$data/talveron/TALVERON.CFG" "$doc/copyright" "$desktop" \
  "$icons/scalable/apps/talveron.svg" "$man1/talveron-cli.1.gz" "$man1/talveron.1.gz"; do
  [ -f "$file" ] || fail "$file is missing"
done

# The installed files are the project's own, byte for byte.
cmp -s "$data/talveron/TALVERON.CFG" "$SOURCE_DIR/data/TALVERON.CFG" ||
  fail "the installed TALVERON.CFG differs from data/TALVERON.CFG"
cmp -s "$doc/copyright" "$SOURCE_DIR/LICENSE" || fail "the installed copyright differs from LICENSE"
# The help documents live with the program's data, not in the documentation folder, which an
# installation may leave out.
help=$data/talveron/help
for document in howto.md genref.md sysadm.md; do
  cmp -s "$help/$document" "$SOURCE_DIR/docs/help/$document" ||
    fail "help document $document is not installed in $DATADIR/talveron/help"
  [ ! -e "$doc/$document" ] || fail "$DOCDIR holds the help document $document"
done
# The desktop program finds them from its own folder: the relative path it holds leads from the
# installed program to them, and no path of the source or build tree is compiled in.
help_from_program=$(strings "$bin/talveron" | grep -x '[./]*/share/talveron/help' || true)
[ -n "$help_from_program" ] && [ "$(realpath -m "$bin/$help_from_program")" = "$(realpath "$help")" ] ||
  fail "talveron does not find its help documents in $DATADIR/talveron/help"
for tree in "$SOURCE_DIR" "$BUILD_DIR"; do
  ! grep -aqF "$tree" "$bin/talveron" || fail "talveron holds the path $tree"
done

# Each PNG holds the size its directory names: the width and height in the IHDR chunk.
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/talveron.png
  if [ ! -f "$png" ]; then
    fail "$png is missing"
    continue
  fi
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height, not $size x $size"
done
grep -q '<svg' "$icons/scalable/apps/talveron.svg" || fail "talveron.svg is not an SVG image"

# The menu entry passes the desktop-entry checker (hints are advice, not faults) and starts the
# installed program, with the file it is opened with, under the icon installed above.
if [ -f "$desktop" ]; then
  if ! validation=$(desktop-file-validate "$desktop" 2>&1) ||
    grep -qE ': (error|warning):' <<<"$validation"; then
    fail "desktop-file-validate: $validation"
  fi
  grep -qx 'Exec=talveron %f' "$desktop" || fail "the menu entry does not hand its file to talveron"
  grep -qx 'Icon=talveron' "$desktop" || fail "the menu entry does not use the talveron icon"
fi

# The manual pages render without a single groff warning and show their sections.
for page in "$man1"/talveron-cli.1.gz "$man1"/talveron.1.gz; do
  [ -f "$page" ] || continue
  warnings=$(gzip -dc "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$(basename "$page") renders with warnings: $warnings"
  rendered=$(gzip -dc "$page" | groff -man -Tutf8 -rLL=250n -rHY=0 -P-cbou 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION FILES; do
    grep -qx "$section" <<<"$rendered" || fail "$(basename "$page") has no $section section"
  done
done
if [ -f "$man1/talveron-cli.1.gz" ]; then
  cli_page=$(gzip -dc "$man1/talveron-cli.1.gz" | groff -man -Tutf8 -rLL=250n -rHY=0 -P-cbou 2>/dev/null)
  for needle in "EXIT STATUS" ENVIRONMENT XDG_CONFIG_HOME NO_COLOR --install-config --config \
    --as-of --jobs --format sarif --html --mask --color --quiet --help --version \
    "Talveron $VERSION"; do
    grep -qF -- "$needle" <<<"$cli_page" || fail "talveron-cli.1 does not mention $needle"
  done
fi

# The desktop program answers --help and --version without a window system.
if [ -x "$bin/talveron" ]; then
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/talveron" --version) ||
    fail "talveron --version failed"
  [ "$version" = "talveron $VERSION" ] || fail "talveron --version printed '$version'"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/talveron" --help |
    grep -q '^Usage: talveron ' || fail "talveron --help printed no usage"
fi

# The installed validator runs: it reports the project version and installs, into a fresh
# configuration directory, exactly the configuration installed beside it.
if [ -x "$bin/talveron-cli" ]; then
  version=$("$bin/talveron-cli" --version) || fail "talveron-cli --version failed"
  [ "$version" = "talveron-cli $VERSION" ] || fail "talveron-cli --version printed '$version'"
  XDG_CONFIG_HOME=$prefix/config "$bin/talveron-cli" --install-config >/dev/null ||
    fail "talveron-cli --install-config failed"
  cmp -s "$prefix/config/talveron/TALVERON.CFG" "$data/talveron/TALVERON.CFG" ||
    fail "talveron-cli --install-config did not write the shipped configuration"
fi

# bash completes the validator's options, formats and load files from the installed completion.
completion=$data/bash-completion/completions/talveron-cli
if [ -f "$completion" ]; then
  complete_words() {
    (cd "$SOURCE_DIR/data" && bash -c 'source "$0"; COMP_WORDS=("${@}"); COMP_CWORD=$(($# - 1))
      _talveron_cli; echo "${COMPREPLY[*]}"' "$completion" talveron-cli "$@")
  }
  [ "$(complete_words --format "")" = "text gnu json csv sarif" ] ||
    fail "the completion does not offer the formats: $(complete_words --format "")"
  [ "$(complete_words --ma)" = "--mask" ] || fail "the completion does not offer --mask"
  [[ " $(complete_words "") " == *" faulty.dat "* ]] ||
    fail "the completion does not offer load files: $(complete_words "")"
else
  fail "$completion is missing"
fi

if ((failures)); then
  echo "$failures problem(s) in the installed tree" >&2
  exit 1
fi
echo "installed tree in order"
