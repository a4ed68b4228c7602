// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* Scene drawing.
 *
 * The board is cleared once, at start-up; after that every step draws over
 * what is there, so each sample leaves a lasting grey dot and the picture
 * holds the whole run without the program remembering it.  A step therefore
 * redraws only what must look fresh: the frame (older dots may cover it), the
 * ten newest samples, newest on top, and the status strip.
 *
 * A step that will not be seen needs less.  What it leaves for later is only
 * the oldest sample's disc, drawn for the last time, in the trail's oldest
 * colour; that is the same grey for every sample, so the order of those discs
 * cannot matter, and the next step that is seen draws the frame, the trail
 * and the strip over them: its picture is the one every step drawn whole
 * would have left, to the byte.
 *
 * Sections: constants, helpers, pictures.
 */
#include "scene.hpp"

#include <SDL_gfxPrimitives.h>

#include <cinttypes>
#include <cstdio>

namespace
{

constexpr Uint8 opaque = 255;
constexpr Uint8 full = 255;

constexpr Sint16 board_edge = board_size; // last row of the board; column 400 is clipped
constexpr int border_depth = 5;
constexpr Sint16 centre = board_size / 2;
constexpr int circle_radius = 195; // drawn inside the border, then two more within
constexpr int circle_count = 3;
constexpr Sint16 disc_radius = 3;

// Oldest (index 0) grey to newest (index 9) bright red.
constexpr Uint8 ramp_base = 100;
constexpr Uint8 ramp_red_step = 17;
constexpr Uint8 ramp_grey_step = 10;

void clear(SDL_Surface *screen, Sint16 top)
{
	boxRGBA(screen, 0, top, window_width, window_height, 0, 0, 0, opaque);
}

void draw_frame(SDL_Surface *screen)
{
	for (Sint16 i = 0; i < border_depth; i++) {
		const auto far = static_cast<Sint16>(board_edge - i);
		rectangleRGBA(screen, i, i, far, far, full, full, full, opaque);
	}
	for (int i = 0; i < circle_count; i++)
		circleRGBA(screen, centre, centre, static_cast<Sint16>(circle_radius - i), full, full, full,
		           opaque);
}

void draw_text(SDL_Surface *screen, Sint16 x, const char *text)
{
	stringRGBA(screen, x, text_y, text, full, 0, 0, opaque);
}

/* The strip is cleared each step, which also wipes the part of any disc that
 * reached below the board. */
void draw_strip(SDL_Surface *screen, Uint64 inside, Uint64 total, double pi, char (&pitext)[pitext_size],
                char (&stuff)[stuff_size])
{
	clear(screen, strip_top);
	std::snprintf(pitext, sizeof pitext, "%.8f", pi);
	draw_text(screen, estimate_x, pitext);
	std::snprintf(stuff, sizeof stuff, "%" PRIu64 "/%" PRIu64, inside, total);
	draw_text(screen, tally_x, stuff);
}

} // namespace

void Point_draw(SDL_Surface *screen, Point p, int index)
{
	const auto red = static_cast<Uint8>(ramp_base + ramp_red_step * index);
	const auto grey = static_cast<Uint8>(ramp_base - ramp_grey_step * index);
	filledCircleRGBA(screen, p.x, p.y, disc_radius, red, grey, grey, opaque);
}

void draw_startup(SDL_Surface *screen)
{
	clear(screen, 0);
	draw_frame(screen);
}

void draw_step(SDL_Surface *screen, const Point *points, Uint64 inside, Uint64 total, double pi,
               char (&pitext)[pitext_size], char (&stuff)[stuff_size])
{
	draw_frame(screen);
	for (int i = 0; i < trail_length; i++)
		Point_draw(screen, points[i], i);
	draw_strip(screen, inside, total, pi, pitext, stuff);
}

void draw_lasting(SDL_Surface *screen, const Point *points)
{
	Point_draw(screen, points[0], 0);
}
