// Small tool pictures for the buttons: each is drawn centred on (cx, cy), about `s` pixels
// across, in the outlined style of the produce.
#pragma once

#include <cairo.h>

namespace pictures::icons {

void WateringCan(cairo_t* cr, double cx, double cy, double s);
void Basket(cairo_t* cr, double cx, double cy, double s);
void Sack(cairo_t* cr, double cx, double cy, double s);
void BedForSale(cairo_t* cr, double cx, double cy, double s);
void Well(cairo_t* cr, double cx, double cy, double s);
void Sprinkler(cairo_t* cr, double cx, double cy, double s);
void Cog(cairo_t* cr, double cx, double cy, double s);
void Floppy(cairo_t* cr, double cx, double cy, double s);
void Folder(cairo_t* cr, double cx, double cy, double s);
void Home(cairo_t* cr, double cx, double cy, double s);
void Coin(cairo_t* cr, double cx, double cy, double r);
void Envelope(cairo_t* cr, double x, double y, double w, double h);
void Clipboard(cairo_t* cr, double x, double y, double w, double h);

}  // namespace pictures::icons
