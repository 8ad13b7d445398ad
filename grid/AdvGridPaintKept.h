#pragma once
// Cell backgrounds kept as pictures: a gradient (or any background that depends only on its
// size and a few values) is drawn once per key and size and copied into each cell after that.

#include <array>
#include <cstdint>
#include <functional>

#include "platform/ui/Graphics.h"

// What a kept background depends on besides its size: a kind number and its colours and steps.
using TKeptBackgroundKey = std::array<int64_t, 6>;

// Paints R as Paint paints it on the canvas, from a picture of Paint's drawing kept per key and
// size, and leaves the pen and brush colours as Paint leaves them. Paint draws its background
// into the rectangle it is given, in one solid pen and brush per step, and nothing outside it.
// Only a canvas that copies pixels as they are (pen mode pmCopy, copy mode SRCCOPY, a solid
// brush and a one-pixel pen) takes the picture; any other is painted by Paint directly.
void PaintKeptBackground(TCanvas* Canvas, const TRect& R, const TKeptBackgroundKey& Key,
                         const std::function<void(TCanvas*, const TRect&)>& Paint);
