#!/usr/bin/env bash
# CI check of the Debian package: makes it with scripts/package.sh, unpacks it
# into a temporary folder (nothing is installed), checks what it holds, and
# runs both unpacked programs as the batch command on the sample workbook.
set -euo pipefail
cd "$(dirname "$0")/.."

package=$(scripts/package.sh | tail -n 1)
echo "== Checking $package"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg-deb -x "$package" "$root"

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
# Passes when `file` says what the unpacked file is.
expect_kind() {
  local path=$1 kind=$2
  if [ ! -e "$root/$path" ]; then
    fail "the package has no /$path"
  elif ! file -b "$root/$path" | grep -q "$kind"; then
    fail "/$path is not $kind: $(file -b "$root/$path")"
  fi
}

expect_kind usr/bin/vantrelo 'ELF 64-bit'
expect_kind usr/bin/vantrelo-batch 'ELF 64-bit'
expect_kind usr/libexec/vantrelo/vantrelo-office-guard 'ELF 64-bit'
expect_kind usr/share/vantrelo/HAND-M.CUR 'cursor'
expect_kind usr/share/man/man1/vantrelo.1.gz 'gzip compressed'
expect_kind usr/share/doc/vantrelo/copyright 'text'
for size in 32 48 64 128 256; do
  expect_kind "usr/share/icons/hicolor/${size}x${size}/apps/vantrelo.png" "PNG image data, $size x $size"
done
desktop_files=("$root"/usr/share/applications/*.desktop)
if [ ! -f "${desktop_files[0]}" ]; then
  fail "the package has no menu entry"
elif ! desktop-file-validate "${desktop_files[@]}"; then
  fail "desktop-file-validate refused the menu entry"
fi
grep -q 'Permission is hereby granted' "$root/usr/share/doc/vantrelo/copyright" ||
  fail "the copyright file does not hold the licence"
if command -v man >/dev/null &&
  ! man -l "$root/usr/share/man/man1/vantrelo.1.gz" 2>&1 >/dev/null | (! grep .); then
  fail "the manual page does not format cleanly"
fi
# Nothing may point into the build tree once installed.
if readelf -d "$root/usr/bin/vantrelo" "$root/usr/bin/vantrelo-batch" \
  "$root/usr/libexec/vantrelo/vantrelo-office-guard" | grep -E 'R(UN)?PATH' |
  grep -q "$PWD"; then
  fail "a program's library path points into the build tree"
fi

depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for needed in libreoffice-calc fonts-liberation libuno-cppu3 libqt6widgets6; do
  grep -qx "$needed" <<<"$names" || fail "Depends does not name $needed"
done

# Each program runs in a session of its own, so that any office it leaves
# behind is found by session and ended here.
workbook="$PWD/examples/people.xlsx"
run_batch() {
  local program=$1 output=$2 status=0
  setsid -w "$root/usr/bin/$program" highlight "$workbook" \
    --block 'People!$A$1:$F$21' --columns Name,City --output "$output" &
  local pid=$!
  wait "$pid" || status=$?
  # The office's own helpers (gpgconf and the like) may still be on their
  # way out, or be zombies waiting for init to reap them: give the session
  # a few seconds to empty, and count only processes still alive.
  local left="" tries
  for tries in $(seq 1 20); do
    left=$(ps -o pid=,stat= -s "$pid" 2>/dev/null | awk '$2 !~ /^Z/ {print $1}' || true)
    [ -z "$left" ] && break
    sleep 0.5
  done
  if [ -n "$left" ]; then
    fail "$program left processes running: $(ps -o args= -p "$(echo $left | tr ' ' ',')" | tr '\n' ' ')"
    kill $left 2>/dev/null || true
  fi
  if [ "$status" -ne 0 ]; then
    fail "$program highlight exited with $status"
  elif [ ! -s "$output" ]; then
    fail "$program highlight wrote no $output"
  fi
}
echo "== The unpacked programs as the batch command on examples/people.xlsx"
# From another folder, as a user calls the installed program.
cd "$work"
run_batch vantrelo-batch "$work/batch.xlsx"
run_batch vantrelo "$work/window-program.xlsx"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of the package failed."
  exit 1
fi
echo "The package holds what it should, and its programs colour the sample."
