// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Sampling model: random pixels of the board, the circle test, the trail of
// the newest samples and the tally that the estimate of pi comes from.
#pragma once

#include <SDL.h>

constexpr int board_size = 400;  // pixels per side of the sampled square
constexpr int trail_length = 10; // samples still drawn as coloured discs

/* Where the estimate settles: four times the share of the board's pixels
 * whose centre lies inside the circle.  A unit test counts the board and
 * checks that the documents give these figures; the web build reads
 * board_size and pixels_inside from here for the page's chart and words. */
constexpr Uint64 board_pixels = Uint64{board_size} * board_size;
constexpr Uint64 pixels_inside = 125676;
constexpr double settles_at = 4.0 * pixels_inside / board_pixels;

// A pixel of the window; four bytes, so it travels by value.
struct Point {
	Sint16 x;
	Sint16 y;
};

// A generator in the manner of rand: each call gives a value in 0..max.
using Generator = int (*)();

Point random_point(); // from rand
Point random_point(Generator next, long long max);
Point blank_point();
void shift(Point *points);
int inside_circle(Point p);
void sample_step(Point *points, Uint64 *inside, Uint64 *total);
double estimate(Uint64 inside, Uint64 total);
