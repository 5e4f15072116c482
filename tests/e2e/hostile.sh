#!/usr/bin/env bash
# Unusual documents through the real binary: each ends either in a readable
# result with the new page (Reflect) or in an error report with the file byte
# for byte as it was.
#   refused at start-up   pages whose layout passes the largest number; a sheet
#                         so wide that mirroring rounds a rectangle's size away
#   refused on Reflect    a page so tall that the new one cannot be placed
#   written               a rectangle a hundred times the sheet (start-up draws
#                         only what shows); a footnote made in Scribus; items
#                         parked where the new page goes, which stay as they were
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

DATA="$E2E_DIR/../data/scribus"

# document NAME PAGE-WIDTH PAGE-HEIGHT PAGES ITEMS: a hand-written document.
document() {
    local pages="" i
    for ((i = 0; i < $4; i++)); do
        pages+="  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"$2\" PAGEHEIGHT=\"$3\" NUM=\"$i\"/>
"
    done
    cat >"$WORK/$1.sla" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<SCRIBUSUTF8NEW Version="1.5.8">
 <DOCUMENT PAGEWIDTH="$2" PAGEHEIGHT="$3" UNITS="0" BOOK="0" ScratchLeft="100" ScratchTop="20" GapHorizontal="0" GapVertical="40">
  <COLOR NAME="Black" SPACE="CMYK" C="0" M="0" Y="0" K="100"/>
  <LAYERS NUMMER="0" LEVEL="0" NAME="Background" SICHTBAR="1" DRUCKEN="1" EDIT="1"/>
$pages$5
 </DOCUMENT>
</SCRIBUSUTF8NEW>
EOF
}
rectangle() { # NAME X Y WIDTH HEIGHT
    echo "  <PAGEOBJECT ANNAME=\"$1\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"$2\" YPOS=\"$3\" WIDTH=\"$4\" HEIGHT=\"$5\" PWIDTH=\"1\" PCOLOR2=\"Black\"/>"
}

# refused_at_start NAME REASON: the tool reports REASON before its window.
refused_at_start() {
    local file="$WORK/$1.sla"
    cp "$file" "$WORK/before.sla"
    start_tool "$file"
    answer_message_box
    wait_exit
    [ "$STATUS" != 0 ] || fail "$1: the tool ended with status 0"
    grep -q "$2" "$WORK/tool.err" || fail "$1: no report of \"$2\": $(cat "$WORK/tool.err")"
    cmp -s "$file" "$WORK/before.sla" || fail "$1: the file changed"
    echo "$1: refused at start-up: $(head -n 1 "$WORK/tool.err")"
}

# reflect NAME: starts the tool on the document and clicks Reflect Page.
reflect() {
    start_tool "$WORK/$1.sla"
    wait_main_window
    click_on bReflect
}

# written NAME PAGES: Reflect ends well and the result reads back with PAGES pages.
written() {
    reflect "$1"
    wait_exit
    [ "$STATUS" = 0 ] || fail "$1: Reflect ended with status $STATUS: $(cat "$WORK/tool.err")"
    [ "$(page_count "$WORK/$1.sla")" = "$2" ] || fail "$1: the result does not read back"
    echo "$1: written, $2 pages"
}

document infinite-layout 1000 1e308 2 ""
refused_at_start infinite-layout "lies beyond the largest position"

document too-wide 1e20 700 1 "$(rectangle R 200 60 200 100)"
refused_at_start too-wide "too large for page 1 to keep its size"

document too-tall 1000 1.5e308 1 "$(rectangle R 200 60 200 100)"
cp "$WORK/too-tall.sla" "$WORK/before.sla"
reflect too-tall
answer_message_box
wait_exit
[ "$STATUS" != 0 ] || fail "too-tall: the tool ended with status 0"
grep -q "Cannot add a page to .*too-tall.sla.: it would lie beyond" "$WORK/tool.err" ||
    fail "too-tall: no report: $(cat "$WORK/tool.err")"
cmp -s "$WORK/too-tall.sla" "$WORK/before.sla" || fail "too-tall: the file changed"
echo "too-tall: refused on Reflect: $(head -n 1 "$WORK/tool.err")"

document absurd 1000 700 1 "$(rectangle Huge 100 20 100000 70000)
$(rectangle R 300 200 100 50)"
written absurd 2

cp "$DATA/footnote.sla" "$WORK/footnote.sla"
written footnote 2

document parked 1000 700 1 "$(rectangle R 300 200 100 50)
$(rectangle Parked 300 1000 50 60)"
written parked 2
# Page 2 holds the parked rectangle where it was, then the copy, mirrored.
[ "$(rectangles "$WORK/parked.sla" 2)" = "$(printf '%s\n' '240 200 300 250 0' '180 700 230 800 0')" ] ||
    fail "parked: page 2 holds $(rectangles "$WORK/parked.sla" 2)"
echo PASS
