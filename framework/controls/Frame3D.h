#pragma once
// The raised or lowered edge that panels, bevels and group boxes draw.
#include "framework/core/Types.h"

class TCanvas;

// Draws width pixels of edge inside rect (top/left in top, bottom/right in bottom) and
// leaves rect shrunk by width on every side.
void Frame3D(TCanvas* canvas, TRect& rect, TColor top, TColor bottom, int width);
