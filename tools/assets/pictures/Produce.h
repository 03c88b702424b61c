// The four vegetables as harvested produce, and small tool pictures, shared by the plot menu
// buttons, the shed block icons, the logo and the desktop icon.
#pragma once

#include <cairo.h>

#include "Paint.h"

namespace pictures {

// Crop indices as the game uses them.
enum TCrop { Cauliflower = 0, Kohlrabi = 1, Carrot = 2, Garlic = 3 };

// A harvested vegetable centred on (cx, cy), about `size` pixels tall.
void PaintProduce(cairo_t* cr, int crop, double cx, double cy, double size);

// The garden emblem of the logo and icon: a round badge of radius r centred on (cx, cy).
void PaintEmblem(cairo_t* cr, double cx, double cy, double r);

// The lettering of the game's name in the logo and the installer's pictures: cream letters
// outlined in the outline colour over a dark brown shadow.
TTextStyle NameLettering(double size, double strokeWidth, double shadowOffset);

}  // namespace pictures
