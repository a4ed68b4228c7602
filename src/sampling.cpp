// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The numeric core of the estimator.
 *
 * Samples are the 400 x 400 pixels of the board and each is judged by its
 * centre, so that the board's pixels split between inside and outside the
 * circle in the proportion pi / 4.  Sampling the 401 pixel edges instead, as
 * a first version did, biases the estimate towards 3.125.
 *
 * Nothing here keeps state: the driver owns the trail and the tally and hands
 * them in.  The 64-bit tally outlasts any run a person will watch.
 */
#include "sampling.hpp"

#include <cstdlib>

namespace
{

constexpr Sint16 blank_coord = -20; // far enough out that a disc never shows
// Doubled coordinates keep the pixel-centre test in integers: the centre
// (x + 1/2, y + 1/2) is in the disc of radius 200 about (200, 200) exactly
// when (2x - 399)^2 + (2y - 399)^2 <= 400^2.
constexpr Sint32 doubled_centre = board_size - 1;
constexpr Sint32 doubled_radius_sq = Sint32{board_size} * board_size;

Sint32 doubled_offset(Sint16 c)
{
	return 2 * Sint32{c} - doubled_centre;
}

/* A remainder by 400 favours low values unless the generator's range is a
 * multiple of 400: with Windows' 15-bit rand, 0..367 come out 82 times for
 * every 81 of 368..399, and the estimate settles near 3.1452.  A value in
 * the incomplete top block is drawn again.  glibc's top block is 48 values in
 * 2^31, so there a seeded run almost never draws again. */
Sint16 coordinate(Generator next, long long max)
{
	const long long limit = max + 1 - (max + 1) % board_size;
	int r = next();
	while (r >= limit)
		r = next();
	return static_cast<Sint16>(r % board_size);
}

} // namespace

/* The first value gives x and the second y, so a seeded run is repeatable. */
Point random_point(Generator next, long long max)
{
	const Sint16 x = coordinate(next, max);
	const Sint16 y = coordinate(next, max);
	return Point{x, y};
}

Point random_point()
{
	return random_point([] { return std::rand(); }, RAND_MAX);
}

Point blank_point()
{
	return Point{blank_coord, blank_coord};
}

/* Entry 0 is the oldest; entry 9 stays put for the caller to overwrite. */
void shift(Point *points)
{
	for (int i = 0; i + 1 < trail_length; i++)
		points[i] = points[i + 1];
}

int inside_circle(Point p)
{
	const Sint32 dx = doubled_offset(p.x);
	const Sint32 dy = doubled_offset(p.y);
	return dx * dx + dy * dy <= doubled_radius_sq ? 1 : 0;
}

void sample_step(Point *points, Uint64 *inside, Uint64 *total)
{
	shift(points);
	points[trail_length - 1] = random_point();
	*inside += static_cast<Uint64>(inside_circle(points[trail_length - 1]));
	*total += 1;
}

double estimate(Uint64 inside, Uint64 total)
{
	return static_cast<double>(inside) / static_cast<double>(total) * 4.0;
}
