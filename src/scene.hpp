// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Scene: everything drawn into the window, onto a surface of any pixel format.
#pragma once

#include <SDL.h>

#include "sampling.hpp"

constexpr int window_width = board_size;
constexpr int window_height = board_size + 20; // the board and the status strip
constexpr int pitext_size = 20;                // the estimate: "3.14159265"
constexpr int stuff_size = 100;                // the tally: "inside/total"

/* The status strip's layout, which the page's layer and the tests' strip
 * reader find the two texts by: the tally at the left, the estimate at the
 * right, on one row of SDL_gfx's 8 x 8 glyphs. */
constexpr Sint16 strip_top = board_size + 1;
constexpr Sint16 text_y = strip_top + 6;
constexpr Sint16 tally_x = 4;
constexpr Sint16 estimate_x = 318;
constexpr int glyph_size = 8;
constexpr int estimate_glyphs = 10; // one digit, the point, eight decimals
static_assert(estimate_x + estimate_glyphs * glyph_size < window_width,
              "the estimate ends inside the window");

void Point_draw(SDL_Surface *screen, Point p, int index);
void draw_startup(SDL_Surface *screen);
void draw_step(SDL_Surface *screen, const Point *points, Uint64 inside, Uint64 total, double pi,
               char (&pitext)[pitext_size], char (&stuff)[stuff_size]);
void draw_lasting(SDL_Surface *screen, const Point *points);
