#!/bin/sh
# Draws the version box's two pictures with ImageMagick: the fixed picture compiled into the
# tool (a receiver with its antenna, BMP) and the picture the shipped settings name (a
# hand-held transmitter, JPEG, placed beside the tool). Run from this folder.
set -e
convert -size 120x120 xc:'#f0f0f0' -stroke black -strokewidth 2 \
  -draw "line 84,18 84,46" -fill '#d02020' -draw "circle 84,16 84,20" \
  -fill '#5070a0' -draw "roundrectangle 14,46 106,100 8,8" \
  -fill '#40e040' -draw "circle 32,64 32,69" -fill '#e0e0e0' -draw "rectangle 48,58 94,70" \
  -fill '#c0c8d8' -strokewidth 1 -draw "rectangle 26,80 94,90" \
  -type TrueColor BMP3:verbox-receiver.bmp
convert -size 96x96 xc:white -stroke black -strokewidth 2 \
  -fill '#303840' -draw "roundrectangle 30,8 66,88 10,10" \
  -fill '#e03030' -draw "circle 48,28 48,35" -fill '#f0f0f0' -draw "circle 40,52 40,56" -draw "circle 56,52 56,56" \
  -draw "circle 40,68 40,72" -draw "circle 56,68 56,72" \
  -quality 90 JPEG:../resources/rcv910x-transmitter.jpg
