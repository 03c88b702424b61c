// Buttons and boards shared by the panels and menus, so every button of the game has the
// same look: a wooden plank or tile in its normal state, lit and gilded when hovered.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace pictures::widgets {

// A square-ish button tile for an icon.
void Tile(cairo_t* cr, double x, double y, double w, double h, double radius, bool hovered);
// A plank button with a label, filling (x, y, w, h); a label longer than the plank's straight
// middle (where the round ends begin, a quarter of its height from either end) is drawn smaller.
void Plank(cairo_t* cr, double x, double y, double w, double h, const std::string& label,
           double fontSize, bool hovered);
// A wooden board with an inner field of `inner` colour: a frame around a panel.
void Board(cairo_t* cr, double x, double y, double w, double h, double radius, double frame,
           uint32_t inner);
// Nail heads in the four corners of a board.
void Nails(cairo_t* cr, double x, double y, double w, double h, double inset);

}  // namespace pictures::widgets
