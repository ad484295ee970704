#!/bin/sh
# Draws the program's pictures (window icons, toolbar pictures, title artwork,
# the desktop icon in hicolor/ at 16 to 256 pixels) with ImageMagick. Icons are
# drawn at 4x size and reduced so that edges come out smooth; the 16 x 16
# desktop icon is set pixel by pixel. Run from anywhere; writes next to
# this script. Output carries no time stamps, so re-running gives the same files.
set -eu
cd "$(dirname "$0")"
mkdir -p icons

SANS=DejaVu-Sans
SANS_BOLD=DejaVu-Sans-Bold
SERIF_BOLD=DejaVu-Serif-Bold
OUT="-strip -define png:exclude-chunks=date,time,tIME"

# finish <file>: reduce a 128 x 128 drawing read from stdin to 32 x 32
finish() {
  convert png:- -filter Box -resize 32x32 $OUT PNG32:"$1"
}

# hot <from> <to>: the brighter hover version of a toolbar picture
hot() {
  convert "$1" -modulate 118,130,100 -channel RGB -level 0%,92% +channel $OUT PNG32:"$2"
}

# Four coloured quarters in a rounded tile, the base of the two map icons.
# quarters [SIZE]: drawn on SIZE x SIZE (default 128) from the same 128-unit
# design, every primitive scaled, stroke widths included.
quarters() {
  qsize=${1:-128}
  S="scale $(awk "BEGIN { print $qsize / 128 }"),$(awk "BEGIN { print $qsize / 128 }")"
  convert -size ${qsize}x${qsize} xc:none \
    -fill '#e8463c' -draw "$S rectangle 8,8 63,63" \
    -fill '#2f6fe0' -draw "$S rectangle 64,8 119,63" \
    -fill '#2fb34a' -draw "$S rectangle 8,64 63,119" \
    -fill '#f2c21b' -draw "$S rectangle 64,64 119,119" \
    \( -size ${qsize}x${qsize} xc:black -fill white -draw "$S roundrectangle 8,8 119,119 18,18" \) \
    -alpha off -compose CopyOpacity -composite -alpha on \
    -compose Over -fill none -stroke '#3a3a3a' -strokewidth 4 \
    -draw "$S roundrectangle 9,9 118,118 17,17" \
    -stroke '#ffffff80' -strokewidth 3 -draw "$S line 64,12 64,116" -draw "$S line 12,64 116,64" \
    png:-
}

# app_icon SIZE FILE: the program's icon, quarters with a pencil across them,
# drawn at four times SIZE and reduced, so that every size gets edges of its
# own instead of being scaled from another size.
app_icon() {
  S="scale $(awk "BEGIN { print $1 / 32 }"),$(awk "BEGIN { print $1 / 32 }")"
  quarters $(($1 * 4)) | convert png:- \
    -stroke '#202020' -strokewidth 3 \
    -fill '#f6b73c' -draw "$S polygon 92,14 114,36 50,100 28,78" \
    -fill '#e07b2a' -draw "$S polygon 103,25 114,36 50,100 39,89" \
    -fill '#f29aa6' -draw "$S polygon 92,14 114,36 120,30 98,8" \
    -fill '#b8b8b8' -draw "$S polygon 92,14 114,36 106,44 84,22" \
    -fill '#f3dcb2' -draw "$S polygon 28,78 50,100 18,112 16,110" \
    -fill '#202020' -draw "$S polygon 21,98 30,107 16,112" \
    png:- | convert png:- -filter Box -resize "$1x$1" $OUT PNG32:"$2"
}

# app_icon_16 FILE: the same picture set pixel by pixel, since at 16 x 16 the
# reduced drawing blurs the pencil into the quarters
app_icon_16() {
  convert -size 16x16 xc:none +antialias \
    -fill '#3a3a3a' -draw "rectangle 1,0 14,15" -draw "rectangle 0,1 15,14" \
    -fill '#e8463c' -draw "rectangle 1,1 7,7" -fill '#2f6fe0' -draw "rectangle 8,1 14,7" \
    -fill '#2fb34a' -draw "rectangle 1,8 7,14" -fill '#f2c21b' -draw "rectangle 8,8 14,14" \
    -fill '#202020' -draw "polygon 13,1 15,3 5,13 3,11" \
    -fill '#f6b73c' -draw "polygon 12,3 13,4 5,12 4,11" \
    -fill '#f29aa6' -draw "point 13,2" -draw "point 14,3" \
    -fill '#f3dcb2' -draw "point 3,12" -draw "point 4,12" -draw "point 3,11" \
    -fill '#202020' -draw "point 1,14" -draw "point 2,13" -draw "point 2,14" \
    $OUT PNG32:"$1"
}

# icons/app.png: the frame window's icon
app_icon 32 icons/app.png

# hicolor/NxN/apps/: the program's icon in the desktop's menus and file
# managers, installed into the hicolor icon theme
mkdir -p hicolor/16x16/apps
app_icon_16 hicolor/16x16/apps/org.gridforge.Gridforge.png
for size in 32 48 64 128 256; do
  mkdir -p hicolor/${size}x${size}/apps
  app_icon $size hicolor/${size}x${size}/apps/org.gridforge.Gridforge.png
done

# icons/map.png: quarters with arrows pointing out to the four sides
quarters | convert png:- \
  -stroke '#1d1d1d' -strokewidth 3 -fill white \
  -draw "polygon 64,16 82,36 71,36 71,57 92,57 92,46 112,64 92,82 92,71 71,71 71,92 82,92 64,112 46,92 57,92 57,71 36,71 36,82 16,64 36,46 36,57 57,57 57,36 46,36" \
  png:- | finish icons/map.png

# icons/new.png: a blank page with a folded corner and a spark
convert -size 128x128 xc:none \
  -fill '#00000030' -stroke none -draw "polygon 30,14 88,14 112,38 112,120 30,120" \
  -fill white -stroke '#4a4a4a' -strokewidth 4 -draw "polygon 24,8 84,8 106,30 106,114 24,114" \
  -fill '#dcdcdc' -draw "polygon 84,8 84,30 106,30" \
  -stroke '#c9d6ea' -strokewidth 3 \
  -draw "line 38,48 92,48" -draw "line 38,62 92,62" -draw "line 38,76 92,76" -draw "line 38,90 78,90" \
  -stroke '#c98a00' -strokewidth 2 -fill '#ffd400' \
  -draw "polygon 40,4 45,18 60,20 47,28 50,42 40,33 30,42 33,28 20,20 35,18" \
  png:- | finish icons/new.png

# icons/open.png: an open yellow folder
convert -size 128x128 xc:none \
  -stroke '#8a6100' -strokewidth 4 \
  -fill '#e0a81c' -draw "polygon 10,28 46,28 54,38 104,38 104,108 10,108" \
  -fill white -stroke '#7a7a7a' -strokewidth 3 -draw "polygon 24,22 92,22 92,84 24,84" \
  -stroke '#c9d6ea' -draw "line 34,36 82,36" -draw "line 34,48 82,48" \
  -stroke '#8a6100' -strokewidth 4 -fill '#ffd24a' -draw "polygon 26,56 122,56 104,108 10,108" \
  -stroke '#fff1b0' -strokewidth 3 -draw "line 30,63 114,63" \
  png:- | finish icons/open.png

# icons/save.png: a floppy disk
convert -size 128x128 xc:none \
  -stroke '#1c2b57' -strokewidth 4 -fill '#3b5fb8' \
  -draw "polygon 12,12 104,12 116,24 116,116 12,116" \
  -fill '#d5d9e0' -stroke '#1c2b57' -draw "rectangle 34,12 94,50" \
  -fill '#3b5fb8' -stroke none -draw "rectangle 76,18 88,44" \
  -fill white -stroke '#1c2b57' -draw "rectangle 26,66 102,116" \
  -stroke '#9aa9c8' -strokewidth 3 -draw "line 34,80 94,80" -draw "line 34,92 94,92" -draw "line 34,104 94,104" \
  png:- | finish icons/save.png

# icons/data.png: a sheet with a grid of numbers
convert -size 128x128 xc:none \
  -fill white -stroke '#3a3a3a' -strokewidth 4 -draw "rectangle 8,10 120,118" \
  -fill '#3f7fd0' -stroke none -draw "rectangle 10,12 118,36" \
  -stroke '#8a8a8a' -strokewidth 3 \
  -draw "line 45,12 45,116" -draw "line 83,12 83,116" \
  -draw "line 10,36 118,36" -draw "line 10,63 118,63" -draw "line 10,90 118,90" \
  -stroke none -fill '#202020' -font $SANS_BOLD -pointsize 24 \
  -draw "text 19,59 '1'" -draw "text 56,59 '0'" -draw "text 93,59 '2'" \
  -draw "text 19,86 '3'" -draw "text 56,86 '1'" -draw "text 93,86 '0'" \
  -draw "text 19,113 '0'" -draw "text 56,113 '5'" -draw "text 93,113 '4'" \
  png:- | finish icons/data.png

for n in new open save data; do hot icons/$n.png icons/${n}_hot.png; done

# icons/pointer.png: the pointer arrow of the pointer tool
convert -size 128x128 xc:none \
  -fill '#00000040' -stroke none -draw "polygon 42,18 42,106 62,88 76,120 92,113 78,82 106,82" \
  -fill white -stroke black -strokewidth 5 \
  -draw "polygon 36,12 36,100 56,82 70,114 86,107 72,76 100,76" \
  png:- | finish icons/pointer.png

# icons/owner0.png .. owner6.png: solid squares in the owners' toolbar colours,
# with a one-pixel darker rim so that the white one stands out on a light bar
i=0
for rgb in 255,128,64 0,0,255 0,255,0 255,255,255 255,255,0 128,128,128 255,0,0; do
  convert -size 32x32 "xc:rgb($rgb)" -fill none -stroke '#404040' -strokewidth 1 \
    -draw "rectangle 0,0 31,31" $OUT PNG32:icons/owner$i.png
  i=$((i + 1))
done

# icons/about.png: an information sign over the map quarters
quarters | convert png:- \
  -fill '#1d1d1d60' -stroke none -draw "circle 68,68 68,26" \
  -fill '#ffffff' -stroke '#1d3f8f' -strokewidth 5 -draw "circle 64,64 64,22" \
  -fill '#1d3f8f' -stroke none -draw "circle 64,42 64,33" \
  -draw "roundrectangle 56,54 72,94 4,4" \
  png:- | finish icons/about.png

# title.png: the about box's title artwork, 320 x 240 on white
convert -size 320x240 xc:white \
  -fill '#e8463c' -draw "rectangle 104,34 123,53" \
  -fill '#2f6fe0' -draw "rectangle 126,34 145,53" \
  -fill '#2fb34a' -draw "rectangle 148,34 167,53" \
  -fill '#f2c21b' -draw "rectangle 170,34 189,53" \
  -fill '#ff8040' -draw "rectangle 192,34 211,53" \
  -font $SERIF_BOLD -pointsize 48 -fill '#1d3f8f' -gravity north \
  -annotate +0+70 'Gridforge' \
  -stroke '#1d3f8f' -strokewidth 2 -draw "line 40,140 280,140" -stroke none \
  -font $SANS -pointsize 20 -fill '#404040' -annotate +0+152 'First Release Edition' \
  $OUT PNG32:title.png
