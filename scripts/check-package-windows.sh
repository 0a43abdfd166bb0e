#!/usr/bin/env bash
# CI check of the Windows packages: makes them with scripts/package-windows.sh,
# looks into the portable zip, then installs the setup program silently (/S)
# under Wine in a new private prefix, checks the files, the Start-menu
# shortcut and the entry among the installed programs, runs the installed
# batch command, uninstalls silently and checks that nothing of it is left.
#
# The installed batch command runs twice: first where no Excel can start,
# where it must say so, then against the stand-in for Excel
# (excel_stand_in.exe from the cross build that scripts/cross-windows.sh
# makes; STAND_IN names another), registered in the same prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-prefix.sh

stand_in=$(realpath -m "${STAND_IN:-build-windows/excel_stand_in.exe}")
if [ ! -f "$stand_in" ]; then
  echo "No stand-in for Excel at $stand_in: run scripts/cross-windows.sh first."
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
scripts/package-windows.sh | tee "$work/packaging.log"
zip=$(tail -n 2 "$work/packaging.log" | head -n 1)
setup=$(tail -n 1 "$work/packaging.log")
version=${setup##*/vantrelo-}
version=${version%-setup.exe}
echo "== Checking $zip and $setup"

# A new prefix each time, so that whatever is there after the uninstall was
# left by this run.
prefix="$(dirname "$setup")/setup-check-prefix"
rm -rf "$prefix"
use_wine_prefix "$prefix"
trap 'end_wine; rm -rf "$work"' EXIT

passed=0
failed=0
# check DESCRIPTION COMMAND...: one row of the check's tables.
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $what"
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
is_equal() { [ "$1" = "$2" ]; }
windows_folder() { wine 30 cmd /c echo "%$1%" | tr -d '\r'; }
# reg query's exit status: 1 when the key is not there (a Wine that hangs
# gives 124 and does not pass for a missing key).
reg_query_status() {
  local status=0
  wine 30 reg query "$1" >/dev/null 2>&1 || status=$?
  echo "$status"
}
unix_path() { wine 30 winepath -u "$1" | tr -d '\r'; }

# What the setup program installs: name, whether the portable zip holds it
# too, and what `file` says it is.
installed_files=(
  "vantrelo.exe|zip|PE32+ executable (console) x86-64"
  "HAND-M.CUR|zip|MS Windows cursor resource"
  "LICENSE.txt|zip|with CRLF line terminators"
  "uninstall.exe|-|PE32+ executable (GUI) x86-64"
)

echo "== The portable zip"
zip_files=$(unzip -Z1 "$zip" | grep -v '/$')
expected_zip_files=0
for row in "${installed_files[@]}"; do
  IFS='|' read -r name in_zip _ <<<"$row"
  if [ "$in_zip" = zip ]; then
    expected_zip_files=$((expected_zip_files + 1))
    check "the zip holds vantrelo-$version/$name" grep -qx "vantrelo-$version/$name" <<<"$zip_files"
  fi
done
check "the zip holds nothing else" is_equal "$(wc -l <<<"$zip_files")" "$expected_zip_files"

install_folder_windows="$(windows_folder LOCALAPPDATA)\\Programs\\Vantrelo"
install_folder=$(unix_path "$install_folder_windows")
shortcut=$(unix_path "$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Vantrelo.lnk")
program="$install_folder/vantrelo.exe"

# The program needs Windows 10; a new prefix of Debian's Wine says Windows 7.
echo "== The setup program on Windows 7"
wine 30 winecfg -v win7
refused_status=0
wine 300 "$setup" /S || refused_status=$?
check "the setup program stops with exit status 2" is_equal "$refused_status" 2
check "it installs nothing" test ! -e "$install_folder"

echo "== A silent install (/S) on Windows 10"
wine 30 winecfg -v win10
install_status=0
wine 300 "$setup" /S || install_status=$?
check "the setup program ends with exit status 0" is_equal "$install_status" 0

for row in "${installed_files[@]}"; do
  IFS='|' read -r name _ kind <<<"$row"
  check "$name is installed, as $kind" \
    contains "$(file -b "$install_folder/$name" 2>&1)" "$kind"
done
check "the installed licence is the project's" \
  cmp -s <(tr -d '\r' <"$install_folder/LICENSE.txt") LICENSE
check "the Start-menu shortcut is a shortcut" contains "$(file -b "$shortcut" 2>&1)" "MS Windows shortcut"
# A shortcut keeps its target's path as text; Wine writes it in UTF-16.
check "the shortcut starts the installed vantrelo.exe" \
  contains "$(strings -el "$shortcut" 2>/dev/null; strings "$shortcut" 2>/dev/null)" \
  "$install_folder_windows\\vantrelo.exe"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrelo'
entry=$(wine 30 reg query "$uninstall_key" 2>/dev/null | tr -d '\r' || true)
# reg query prints "    Name    REG_TYPE    value".
entry_value() { sed -n "s/^ *$1 \{2,\}REG_[A-Z_]* \{2,\}//p" <<<"$entry"; }
entry_values=(
  "DisplayName|Vantrelo"
  "DisplayVersion|$version"
  "Publisher|Kestravon"
  "InstallLocation|$install_folder_windows"
  "UninstallString|\"$install_folder_windows\\uninstall.exe\""
  "QuietUninstallString|\"$install_folder_windows\\uninstall.exe\" /S"
  "NoModify|0x1"
  "NoRepair|0x1"
)
for row in "${entry_values[@]}"; do
  IFS='|' read -r name value <<<"$row"
  check "the uninstall entry's $name is $value" is_equal "$(entry_value "$name")" "$value"
done
check "the uninstall entry gives a size" contains "$(entry_value EstimatedSize)" "0x"

echo "== The installed batch command"
# From another folder, as a user calls it.
cd "$work"
check "vantrelo.exe --version says $version" \
  contains "$(wine 60 "$program" --version 2>&1 | tr -d '\r')" "$version"
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
# highlight OUTPUT WORKBOOK: the installed batch command, its words in batch.out.
highlight() {
  local status=0
  wine 300 "$program" highlight "$2" --block 'People!$A$1:$B$4' --columns 1,2 \
    --output "$1" >batch.out 2>&1 || status=$?
  cat batch.out
  return $status
}
says() { tr -d '\r' <batch.out | grep -qE -- "$1"; }
# Any file will do where Excel never gets to open it.
printf 'not a workbook' >some.xlsx
batch_exit=0
highlight none.xlsx some.xlsx || batch_exit=$?
check "without Excel, the batch command exits with status 1" is_equal "$batch_exit" 1
check "it says that Excel could not be started" says "Excel could not be started"
check "it left no output" test ! -e none.xlsx

# The stand-in has a window, as Excel has, so Wine needs a display for it;
# COM starts it from Wine's own session, with that session's environment, so
# a new session begins on a virtual display of its own.
end_wine
Xvfb -displayfd 3 -screen 0 1024x768x24 3>display.txt >/dev/null 2>&1 &
xvfb=$!
trap 'end_wine; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s display.txt ] && break; sleep 0.2; done
export DISPLAY=":$(cat display.txt)"
wine 30 "$stand_in" /regserver
# The stand-in's workbook: its own text format, with the file it records the
# fills it is given in.
mkdir book
printf '#record\t%s\n#sheet\tPeople\nName\tCity\nAnn\tOslo\nBob\tRome\nAnn\tOslo\n' \
  "$(windows_path "$work/record.txt")" >"book/people — 1.xlsx"
batch_exit=0
highlight coloured.xlsx "book/people — 1.xlsx" || batch_exit=$?
check "against the stand-in, the batch command exits with status 0" is_equal "$batch_exit" 0
check "it says it coloured 2 rows" says "^Rows coloured: +2$"
check "it saved the coloured copy" test -s coloured.xlsx
# Rows 2 and 4 repeat: two cells each, in yellow (65535).
check "the stand-in was told to colour exactly rows 2 and 4" is_equal \
  "$(grep '^fill' record.txt | cut -f3-5 | sort | tr '\t\n' ' ,')" \
  "2 1 65535,2 2 65535,4 1 65535,4 2 65535,"
check "nothing was put beside the workbook" is_equal "$(ls book)" "people — 1.xlsx"
check "no stand-in is left running" test -z "$(pgrep -f excel_stand_in.exe)"
wine 30 "$stand_in" /unregserver
cd - >/dev/null

echo "== A silent uninstall (/S)"
# The stored option is the user's: it must outlive the uninstall.
option_key='HKCU\Software\VB and VBA Program Settings\Kestravon\Vantrelo'
wine 30 reg add "$option_key" /v 'Highlight Entire Row' /d 1 /f >/dev/null
uninstall_status=0
wine 60 "$install_folder/uninstall.exe" /S || uninstall_status=$?
check "the uninstaller ends with exit status 0" is_equal "$uninstall_status" 0
# The uninstaller hands over to a copy of itself in the temporary folder and
# returns at once; that copy does the work, and Wine ends when it is done.
check "the uninstaller is done within two minutes" timeout 120 "$wineserver" -w
check "the install folder is gone" test ! -e "$install_folder"
# Of that copy only an empty folder stays, as NSIS leaves it.
check "the uninstaller's temporary copy is gone" \
  test -z "$(find "$(unix_path "$(windows_folder TEMP)")" -path '*~nsu*' -type f)"
check "the shortcut is gone" test ! -e "$shortcut"
check "the uninstall entry is gone" is_equal "$(reg_query_status "$uninstall_key")" 1
check "the stored option is kept" \
  contains "$(wine 30 reg query "$option_key" /v 'Highlight Entire Row' 2>/dev/null)" REG_SZ
check "no Linux menu entry was made for the shortcut" \
  test -z "$(find "$HOME/.local/share/applications" -iname '*vantrelo*' 2>/dev/null)"

echo "Setup program checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
