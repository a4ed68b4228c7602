// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <SDL_gfxPrimitives.h>

#include <cstdlib>
#include <cstring>

#include "canvas.hpp"
#include "scene.hpp"

namespace
{

constexpr int strip_bottom = window_height - 1;
constexpr Rgb junk{1, 2, 3};

struct Step {
	Point points[trail_length];
	char pitext[pitext_size];
	char stuff[stuff_size];

	Step()
	{
		for (Point &p : points)
			p = blank_point();
		std::memset(pitext, '#', sizeof pitext);
		std::memset(stuff, '#', sizeof stuff);
	}
	void draw(const Canvas &c, Uint64 inside, Uint64 total)
	{
		draw_step(c.surface(), points, inside, total, estimate(inside, total), pitext, stuff);
	}
};

bool same_bytes(const Canvas &a, const Canvas &b)
{
	const SDL_Surface &x = *a.surface();
	return std::memcmp(x.pixels, b.surface()->pixels, static_cast<size_t>(x.pitch) * x.h) == 0;
}

} // namespace

TEST(Scene, StartupPictureIsTheFrameOnBlack)
{
	Canvas c(window_width, window_height);
	c.fill(junk);
	draw_startup(c.surface());
	const Rgb inner_samples[] = {c.at(200, 200), c.at(8, 200), c.at(200, 392), c.at(20, 20),
	                             c.at(380, 390)};
	for (const Rgb &px : inner_samples)
		EXPECT_EQ(px, black);
	EXPECT_TRUE(c.all_rows(
	        0, 400, [](int x, int y, const Rgb &px) { return !frame_pixel(x, y) || px == white; }));
	EXPECT_TRUE(c.all_rows(strip_top, strip_bottom, [](int, int, const Rgb &px) { return px == black; }));
}

TEST(Scene, StepRedrawsFrameTrailAndStrip)
{
	Canvas c(window_width, window_height);
	c.fill(junk); // stands for a board covered in old dots
	Step s;
	s.points[2] = Point{2, 200};   // over the left border
	s.points[5] = Point{300, 300}; // covered by the newer disc below
	s.points[9] = Point{300, 300};
	s.points[7] = Point{150, 400}; // reaches into the strip
	s.points[0] = Point{60, 100};
	s.draw(c, 1, 1);

	EXPECT_EQ(c.at(2, 200), ramp(2));
	EXPECT_EQ(c.at(300, 300), ramp(9));
	EXPECT_EQ(c.at(303, 300), ramp(9));
	EXPECT_EQ(c.at(150, 400), ramp(7));
	EXPECT_EQ(c.at(60, 100), ramp(0));
	EXPECT_EQ(c.at(63, 100), ramp(0));
	EXPECT_EQ(c.at(64, 100), junk); // outside the radius-3 disc, old dots stay
	EXPECT_TRUE(c.all_rows(0, 400, [&](int x, int y, const Rgb &px) {
		for (const Point &p : s.points)
			if (std::abs(x - p.x) <= 3 && std::abs(y - p.y) <= 3) // near its disc
				return true;
		return !frame_pixel(x, y) || px == white;
	}));
	EXPECT_TRUE(c.all_rows(strip_top, strip_bottom,
	                       [](int, int, const Rgb &px) { return px == black || px == red; }));
	EXPECT_EQ(c.at(150, 402), black);
}

/* One seeded run, drawn whole at every step on one surface and, on the
 * other, whole only at the counts it is shown, each unseen step leaving its
 * lasting disc alone: the same bytes wherever it is shown.  The counts take
 * in the first ten samples, with placeholders in the trail, its turnover,
 * and long stretches unseen after a shown trail of ten coloured discs. */
TEST(Scene, PictureDrawnOnlyWhenSeenIsTheSame)
{
	const Uint64 shown[] = {1,  2,  3,  4,  5,  6,  7,    8,    9,    10,
	                        11, 12, 19, 20, 21, 37, 1000, 1001, 1013, 30000};
	Canvas every(window_width, window_height);
	Canvas seen(window_width, window_height);
	draw_startup(every.surface());
	draw_startup(seen.surface());
	Step s;
	Uint64 inside = 0;
	Uint64 total = 0;
	std::srand(36);
	for (const Uint64 count : shown) {
		while (total < count) {
			sample_step(s.points, &inside, &total);
			s.draw(every, inside, total);
			if (total < count)
				draw_lasting(seen.surface(), s.points);
		}
		s.draw(seen, inside, total);
		EXPECT_TRUE(same_bytes(every, seen)) << "after " << count << " samples";
	}
}

TEST(Scene, PlaceholdersLeaveNoMark)
{
	Canvas want(window_width, window_height);
	Canvas got(window_width, window_height);
	draw_startup(want.surface());
	draw_startup(got.surface());
	Step s;
	s.draw(got, 0, 1);
	EXPECT_TRUE(got.all_rows(0, 400, [&](int x, int y, const Rgb &px) { return px == want.at(x, y); }));
}

TEST(Scene, StripTextsMatchTheFont)
{
	struct Case {
		Uint64 inside, total;
		const char *pitext, *stuff;
	};
	const Case cases[] = {
	        {2, 3, "2.66666667", "2/3"},
	        {3, 4, "3.00000000", "3/4"},
	        {1, 1, "4.00000000", "1/1"},
	        {0, 1, "0.00000000", "0/1"},
	        {3000000000ULL, 4000000000ULL, "3.00000000", "3000000000/4000000000"},
	        {18446744073709551615ULL, 18446744073709551615ULL, "4.00000000",
	         "18446744073709551615/18446744073709551615"},
	};
	for (const Case &k : cases) {
		Canvas got(window_width, window_height);
		Canvas want(window_width, window_height);
		draw_startup(got.surface());
		Step s;
		s.draw(got, k.inside, k.total);
		EXPECT_STREQ(s.pitext, k.pitext);
		EXPECT_STREQ(s.stuff, k.stuff);

		want.fill(black);
		stringRGBA(want.surface(), estimate_x, text_y, k.pitext, 255, 0, 0, 255);
		stringRGBA(want.surface(), tally_x, text_y, k.stuff, 255, 0, 0, 255);
		EXPECT_TRUE(got.all_rows(strip_top, strip_bottom, [&](int x, int y, const Rgb &px) {
			return px == want.at(x, y);
		})) << k.stuff;
	}
}
