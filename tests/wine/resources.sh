#!/usr/bin/env bash
# The resources compiled into one program's Windows build, read back with windres: strings 103
# and 109, menu and accelerators 109, About dialog 103 control by control with its styles, icon
# groups 107 and 108 with their eight images, and the asInvoker manifest.
# Usage: resources.sh WINDOWS_BUILD PROGRAM
set -euo pipefail
winBuild="$1"; program="$2"; upper="${program^^}"
fail() { echo "FAIL: $program: $*" >&2; exit 1; }

[ -d "$winBuild/programs" ] || { echo "SKIPPED: no Windows build (./qorin windows makes it)"; exit 77; }
res="$(find "$winBuild/programs/$program" -name '*.rc.res' | head -1)"
[ -n "$res" ] || fail "no compiled resources under $winBuild/programs/$program: make the Windows build first"
rc="$(x86_64-w64-mingw32-windres -J coff -i "$res" -O rc)"
block() { sed -n "/^$1/,/^END/p" <<<"$rc" | sed 's/[[:space:]]*\/\*.*\*\/$//; s/[[:space:]]*$//'; }
expect() {  # expect NAME EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1 differs:"$'\n'"$(diff <(echo "$2") <(echo "$3") || true)"
}

expect "string table" "STRINGTABLE
BEGIN
  103, \"$program\"
  109, \"$upper\"
END" "$(block STRINGTABLE)"

expect "menu 109" '109 MENU
BEGIN
  POPUP "&File"
  BEGIN
    MENUITEM "E&xit", 105
  END
  POPUP "&Help"
  BEGIN
    MENUITEM "&About ...", 104
  END' "$(sed -n '/^109 MENU/,/^END/p' <<<"$rc" | sed '$d')"

expect "accelerators 109" '109 ACCELERATORS
BEGIN
  "?", 104, ALT
  "/", 104, ALT
END' "$(block '109 ACCELERATORS')"

# Styles: the dialog WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_MODALFRAME|DS_SETFONT|DS_FIXEDSYS; the icon
# SS_ICON naming icon 128, 21 x 20; the first line SS_NOPREFIX|WS_GROUP, the second WS_GROUP, both
# left-aligned; OK a default push button with WS_GROUP|WS_TABSTOP; all visible children.
expect "dialog 103" "103 DIALOGEX 0, 0, 170, 62
STYLE 0x80c800c8
CAPTION \"About $program\"
FONT 8, \"MS Shell Dlg\"
BEGIN
  ICON 128, -1, 14, 14, 21, 20, 0x50000003
  CONTROL \"$program, Version 1.0\", -1, 130, 0x50020080, 42, 14, 114, 8
  LTEXT \"(a line)\", -1, 42, 26, 114, 8, 0x50020000
  DEFPUSHBUTTON \"OK\", 1, 113, 41, 50, 14, 0x50030001
END" "$(block '103 DIALOGEX' | sed 's/LTEXT "[^"]\+"/LTEXT "(a line)"/')"

# width, height, colours (0: 256 or more), planes, bits per pixel of each image of a group.
images='"\040\040\020\000", 1, 4
"\020\020\020\000", 1, 4
"\060\060\000\000", 1, 8
"\040\040\000\000", 1, 8
"\020\020\000\000", 1, 8
"\060\060\000\000", 1, 32
"\040\040\000\000", 1, 32
"\020\020\000\000", 1, 32'
for group in 107 108; do
  expect "icon group $group" "$images" "$(block "$group 14" | grep '^ *"' | sed 's/^ *//; s/\(, [0-9]*, [0-9]*\),.*/\1/')"
done

manifest="$(block '1 24')"
grep -qF 'requestedExecutionLevel level=""asInvoker"" uiAccess=""false""' <<<"$manifest" \
  || fail "no asInvoker manifest: $manifest"
echo "$program: resources as the template says"
