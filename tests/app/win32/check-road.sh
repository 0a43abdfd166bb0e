#!/usr/bin/env bash
# The whole Windows road, run as a user runs it: vantrelo.exe under Wine on a
# virtual display, driven by xdotool, against the stand-in for Excel served
# from a process of its own (excel_stand_in.exe), then the batch command on
# the same stand-in. One table of steps, each timed; every Wine call and
# every wait is bounded, and every Wine process and the display end with
# this script. Usage: check-road.sh BUILD_DIR (the cross build, with
# vantrelo.exe, vantrelo-batch.exe, window_probe.exe and excel_stand_in.exe).
#
# The stand-in, for any script that needs an Excel under Wine:
#   - register it in a prefix, as "Excel.Application":
#       WINEPREFIX=... wine64 BUILD_DIR/excel_stand_in.exe /regserver
#   - give it a workbook: a text file named as a workbook (book.xlsx), in
#     the format of tests/excel/StandInWorkbookFile.h, for example
#       #record<TAB>Z:\tmp\record.txt
#       #sheet<TAB>People
#       Name<TAB>City
#       Ann<TAB>Oslo
#     Any Excel action on that file (vantrelo.exe highlight Z:\tmp\book.xlsx
#     ...) then opens it in a new stand-in process, which writes a line
#     "fill<TAB>sheet<TAB>row<TAB>column<TAB>colour" to the record for every
#     cell it colours. The workbook() function below writes such a file.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../../.." && pwd)
program="$root/$build/vantrelo/app/vantrelo.exe"
batch="$root/$build/vantrelo/cli/vantrelo-batch.exe"
display=:41
prefix=road-prefix
source "$(dirname "$0")/wine-display.sh"
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
wine 30 "$root/$build/excel_stand_in.exe" /regserver

# A name with blanks and letters outside any ANSI code page, so that the
# path must come through the command line and the file dialog whole.
here="$root/$build/road"
rm -rf "$here"
mkdir -p "$here/out" "$here/book"
book="$here/book/wörk — 1.xlsx"
record="$here/record.txt"
winbook=$(windows_path "$book")
block='People!$A$1:$C$7'

# Writes the workbook with the stand-in's directives given ("#busy<TAB>3000")
# and empties the record.
workbook() {
  : >"$record"
  {
    printf '#record\t%s\n' "$(windows_path "$record")"
    for directive in "$@"; do printf '%s\n' "$directive"; done
    printf '#sheet\tPeople\n'
    printf '%s\t%s\t%s\n' Name City Âge Ann Oslo 30 Bob Rome 41 Ann Oslo 52 Cy Oslo 30 \
      Bob Rome 41 Ann Oslo 30
  } >"$book"
}
# The cells the runs must colour: Name and City compared. All duplicates:
# rows 2, 3, 4, 6 and 7; except the first: rows 4, 6 and 7.
cells() { # colour, columns, rows...
  local colour=$1 columns=$2 row column
  for row in "${@:3}"; do
    for column in $columns; do printf 'People\t%s\t%s\t%s\n' "$row" "$column" "$colour"; done
  done | sort
}
all_yellow=$(cells 65535 "1 2" 2 3 4 6 7)
repeats_red_rows=$(cells 255 "1 2 3" 4 6 7)
fills() { grep '^fill' "$record" | cut -f2- | sort; }

window=
start_window() {
  timeout 900 /usr/lib/wine/wine64 "$program" >/dev/null 2>&1 &
  window=$!
  probe where >/dev/null
}
# Between actions the bar is empty; while it shows, the window takes no input.
idle() { [ "$(probe progress)" = 0 ]; }
# Clicks a control, or an entry of a list, with the mouse, as a person who
# waits for the window to be ready.
click() {
  local at
  wait_for 30 idle
  at=$(probe centre "$@")
  xdotool mousemove ${at% *} ${at#* } click 1
}
stand_ins() { probe excel; }
no_stand_in() { [ "$(stand_ins)" = "0 0" ]; }
excel_shown() { [ "$(stand_ins)" = "1 1" ]; }
text_is() { [ "$(probe text "$1")" = "$2" ]; }
recorded() { grep -q "^$1" "$record"; }
ended() { ! kill -0 "$1" 2>/dev/null; }
nothing_beside_the_workbook() { [ "$(ls -A "$(dirname "$book")")" = "$(basename "$book")" ]; }
note() { echo "    $*"; }

choose_workbook() {
  workbook
  start_window
  click Check4
  wait_for 30 xdotool search --name '^Select Excel File$' >/dev/null || return 1
  # ASCII keys only: xdotool types other letters through a key it maps for
  # the moment, and a busy Wine may read the key before the mapping. So the
  # folder's path in the file name box and Enter, then back to the list of
  # files (Shift+Tab), its first (Home: the folder holds the workbook alone)
  # and Enter.
  xdotool type --delay 30 "$(windows_path "$(dirname "$book")")\\"
  xdotool key --delay 200 Return shift+Tab Home Return
  wait_for 20 text_is txtExcelFile "$winbook"
}

mark_block() {
  workbook "#inputbox	$block"
  click Check2
  wait_for 60 text_is txtSelection "$block" || return 1
  [ "$(probe list List1)" = $'Name\nCity\nÂge' ] || return 1
  wait_for 20 no_stand_in
}

cancel_block() {
  workbook "#inputbox	cancel"
  click Check2
  wait_for 60 text_is txtSelection '' || return 1
  wait_for 20 no_stand_in || return 1
  probe message none || return 1
  [ "$(probe list List1)" = $'Name\nCity\nÂge' ]
}

# Runs the highlight button $1 and waits for the stand-in to be handed over.
highlight() {
  click "$1"
  wait_for 120 excel_shown
}
# The user closes the Excel handed over.
close_excel() {
  probe close-excel
  wait_for 20 no_stand_in
}

highlight_all() {
  workbook
  click txtSelection
  xdotool key ctrl+a type "$block"
  click List1 0
  click List1 1
  highlight Check6 || return 1
  [ "$(fills)" = "$all_yellow" ] || return 1
  close_excel
}

highlight_repeats() {
  workbook
  click Check7 # Highlight entire row
  click Combo1
  xdotool key Down Return # Red, after Yellow
  highlight Check5 || return 1
  [ "$(fills)" = "$repeats_red_rows" ] || return 1
  click Check7
  click Combo1
  xdotool key Up Return
  close_excel
}

busy_excel() {
  workbook "#busy	4000"
  local started=$SECONDS answered=0
  click Check6
  wait_for 60 recorded retry-later || return 1
  while ! excel_shown; do
    probe responds || return 1
    answered=$((answered + 1))
    [ $answered -gt 1 ] || import -window root "$root/$build/road-busy.png"
    [ $answered -lt 100 ] || return 1
  done
  [ "$(fills)" = "$all_yellow" ] || return 1
  note "the stand-in answered $(grep -c retry-later "$record") calls \"retry later\" over" \
    "$((SECONDS - started)) s; the window answered $answered times meanwhile"
  close_excel
}

crash() {
  workbook "#crash	colour"
  click Check6
  local message
  message=$(probe message) || return 1
  note "${message%%$'\n'*}"
  recorded crash || return 1
  grep -q "^Excel closed or stopped while trying to colour the cells" <<<"$message" || return 1
  ! grep -q '0x' <<<"$message" || return 1
  wait_for 20 no_stand_in
}

close_during_run() {
  workbook "#busy	60000"
  click Check6
  wait_for 60 recorded retry-later || return 1
  probe close
  wait_for 30 ended "$window" || return 1
  wait_for 20 no_stand_in
}

# Kills vantrelo.exe (here the batch command) as a process, with no word to
# it: the Excel it started must end with it.
killed_program() {
  workbook "#busy	60000"
  # Without the wine() function, whose subshell would stand between $! and
  # Wine's process of the program.
  timeout 300 /usr/lib/wine/wine64 "$program" highlight "$winbook" --block "$block" \
    --columns Name,City --output "$(windows_path "$here/out/killed.xlsx")" >/dev/null 2>&1 &
  local started=$!
  disown $started # its end by a signal is expected: not to be reported
  wait_for 60 recorded retry-later || return 1
  kill -KILL "$(pgrep -P $started)" # the program's own process under Wine
  wait_for 20 no_stand_in
}

run_batch() { # program, output name, options...
  workbook
  local output="$here/out/$2" status=0
  wine 300 "$1" highlight "$winbook" --block "$block" --output "$(windows_path "$output")" \
    "${@:3}" >"$here/out/stdout" 2>&1 || status=$?
  [ $status = 0 ] || { note "exit status $status: $(cat "$here/out/stdout")"; return 1; }
  [ -f "$output" ] && no_stand_in && nothing_beside_the_workbook
}
batch_all() {
  run_batch "$program" all.xlsx --columns Name,City && [ "$(fills)" = "$all_yellow" ]
}
batch_repeats() {
  run_batch "$batch" repeats.xlsx --columns 1,2 --except-first --entire-row --colour Red &&
    [ "$(fills)" = "$repeats_red_rows" ]
}

steps=(
  "choose_workbook|pick wörk — 1.xlsx in the file dialog, by keys: its whole path"
  "mark_block|mark the block in the stand-in's input box: block and column list filled"
  "cancel_block|cancel the block choice: block box emptied, no message, no stand-in left"
  "highlight_all|Highlight All Duplicates: the stand-in's fills"
  "highlight_repeats|Except For First One, entire row, in red: the stand-in's fills"
  "busy_excel|the stand-in busy for 4 s: the window answers, the run goes on"
  "crash|the stand-in crashes while colouring: said in words"
  "close_during_run|the window closed during a run: no stand-in left"
  "killed_program|vantrelo.exe killed during a run: no stand-in left"
  "batch_all|vantrelo.exe highlight: the fills, the copy, nothing beside the workbook"
  "batch_repeats|vantrelo-batch.exe highlight --except-first --entire-row"
)
failed=0
table=()
began=$SECONDS
for step in "${steps[@]}"; do
  name=${step%%|*}
  echo "== ${step#*|}"
  started=$SECONDS
  if $name; then
    result=ok
  else
    result=FAILED
    failed=1
    import -window root "$root/$build/road-failed-$name.png" || true
    note "FAILED (the screen: $build/road-failed-$name.png); stand-ins running, shown:" \
      "$(stand_ins); the record ends:"
    tail -n 4 "$record" 2>/dev/null | sed 's/^/      /' || true
    probe close-excel || true # the next step starts without one
  fi
  table+=("$(printf '%-6s %4d s  %s' $result $((SECONDS - started)) "${step#*|}")")
done
[ -z "$window" ] || ended "$window" || { probe close >/dev/null; wait_for 30 ended "$window"; } || true

echo "== The Windows road under Wine, $((SECONDS - began)) s in all"
printf '%s\n' "${table[@]}"
exit $failed
