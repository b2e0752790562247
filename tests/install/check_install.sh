#!/usr/bin/env bash
# Installs the current build into a temporary prefix and checks the installed tree: every file
# in place, the menu entry and AppStream metadata valid, the manual pages rendering cleanly, the
# programs runnable; with lintian installed, also the Debian package made from this build.
# CMake passes the build and source directories, the versions and the install directories.
set -euo pipefail

: "${BUILD_DIR:?}" "${SOURCE_DIR:?}" "${VERSION:?}" "${DEBIAN_RELEASE:?}" "${BINDIR:?}"
: "${DATADIR:?}" "${DOCDIR:?}" "${MANDIR:?}"

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
examples=$data/talveron/examples
metainfo=$data/metainfo/invalid.talveron.talveron.metainfo.xml

for program in talveron talveron-cli; do
  [ -x "$bin/$program" ] || fail "$bin/$program is missing or not executable"
done
for file in "$data/talveron/TALVERON.CFG" "$doc/copyright" "$doc/changelog.Debian.gz" \
  "$desktop" "$metainfo" "$icons/scalable/apps/talveron.svg" "$man1"/talveron{-cli,}.1.gz; do
  [ -f "$file" ] || fail "$file is missing"
done

# Built with the hardening of Debian packages, as Talveron reads files sent in by others:
# position-independent, relocations read-only and resolved at start, the stack protector, and
# the checked variants of C library calls where the build fortifies them.
if [ "${HARDENING:-OFF}" = ON ]; then
  for program in talveron talveron-cli; do
    [ -x "$bin/$program" ] || continue
    headers=$(readelf --file-header --program-headers --dynamic --wide "$bin/$program")
    symbols=$(readelf --dyn-syms --wide "$bin/$program")
    grep -q 'Type: *DYN' <<<"$headers" || fail "$program is not position-independent"
    grep -q 'GNU_RELRO' <<<"$headers" || fail "$program has no read-only relocation segment"
    grep -q 'BIND_NOW' <<<"$headers" || fail "$program does not resolve its relocations at start"
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protector"
    if [ "${FORTIFIED:-OFF}" = ON ]; then
      grep -q '_chk@' <<<"$symbols" || fail "$program calls no checked C library function"
    fi
  done
fi

# The installed files are the project's own, byte for byte.
cmp -s "$data/talveron/TALVERON.CFG" "$SOURCE_DIR/data/TALVERON.CFG" ||
  fail "the installed TALVERON.CFG differs from data/TALVERON.CFG"
cmp -s "$doc/copyright" "$SOURCE_DIR/LICENSE" || fail "the installed copyright differs from LICENSE"
for example in sample.dat faulty.dat; do
  cmp -s "$examples/$example" "$SOURCE_DIR/data/$example" ||
    fail "example $example is not installed in $DATADIR/talveron/examples"
done
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

# Compressed files are reproducible: no file name (flag 8) and no time stamp in the gzip header.
while IFS= read -r -d '' gz; do
  read -r flags time1 time2 time3 time4 < <(od -An -tu1 -j3 -N5 "$gz")
  ((!(flags & 8) && !(time1 | time2 | time3 | time4))) ||
    fail "${gz#"$prefix"/} records a file name or time stamp"
done < <(find "$prefix" -name '*.gz' -print0)
# The package's changelog starts with the entry of this version.
changelog_head=$(gzip -dc "$doc/changelog.Debian.gz" | head -1)
[[ "$changelog_head" == "talveron ($VERSION-$DEBIAN_RELEASE) "* ]] ||
  fail "changelog.Debian starts with '$changelog_head', not version $VERSION-$DEBIAN_RELEASE"

# The AppStream metadata is valid and names the menu entry installed beside it, and its newest
# release is this version.
if ! validation=$(appstreamcli validate-tree --no-net "$prefix" 2>&1); then
  fail "appstreamcli validate-tree: $validation"
fi
grep -m1 '<release ' "$metainfo" | grep -qF "version=\"$VERSION\"" ||
  fail "the newest release in the AppStream metadata is not $VERSION"

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
  # With it, the installed examples give what the manual pages promise: no finding, and errors.
  mkdir "$prefix/work"
  cp "$examples"/*.dat "$prefix/work"/
  status=0
  XDG_CONFIG_HOME=$prefix/config "$bin/talveron-cli" --quiet "$prefix/work/sample.dat" || status=$?
  [ "$status" -eq 0 ] || fail "talveron-cli on the installed sample.dat: exit status $status, not 0"
  status=0
  XDG_CONFIG_HOME=$prefix/config "$bin/talveron-cli" --quiet "$prefix/work/faulty.dat" || status=$?
  [ "$status" -eq 1 ] || fail "talveron-cli on the installed faulty.dat: exit status $status, not 1"
fi

# Debian's package checker finds no error and no warning in the package of this build, made for
# /usr as scripts/package.sh makes it.
if command -v lintian >/dev/null; then
  if cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$prefix/package" \
    -D CPACK_PACKAGING_INSTALL_PREFIX=/usr >/dev/null 2>&1; then
    package=("$prefix"/package/talveron_*.deb)
    verdict=$(lintian --fail-on error,warning "${package[0]}" 2>&1) || fail "lintian: $verdict"
  else
    fail "cpack could not make the Debian package"
  fi
else
  echo "lintian is not installed: the Debian package was not checked"
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
  [ "$(complete_words --output-d)" = "--output-dir" ] ||
    fail "the completion does not offer --output-dir"
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
