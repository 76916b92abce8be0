// The nesting window's preview: the sheet and every element at its placement.
#pragma once

#include "nesting/nest_elements.h"
#include "view/DrawSurface.h"

namespace kerbon::nest {

// Paints the preview on a surface of Wp x Hp pixels: white, the sheet pw x ph as a white
// rectangle with a dark green outline in the lower-left corner, scaled to fit, and every
// contour of every element in black one-pixel lines at its placement (drawing y upwards).
// A sheet without a positive size shows white only.
void paintPreview(view::DrawSurface& d, int Wp, int Hp, const Schachtelung& n, double pw, double ph);

}  // namespace kerbon::nest
