// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sampling.hpp"

namespace
{

constexpr int last = board_size - 1;

Point at(int x, int y)
{
	return Point{static_cast<Sint16>(x), static_cast<Sint16>(y)};
}

std::vector<Point> samples_after_seed(unsigned seed, int n)
{
	std::srand(seed);
	std::vector<Point> out(static_cast<size_t>(n));
	std::ranges::generate(out, [] { return random_point(); });
	return out;
}

// Windows' rand: 15 bits of a 32-bit linear congruential generator.
constexpr long long fifteen_bit_max = 0x7fff;
unsigned windows_state = 1;
int windows_rand()
{
	windows_state = windows_state * 214013U + 2531011U;
	return static_cast<int>((windows_state >> 16) & fifteen_bit_max);
}

// Each value of a 15-bit range in turn, over and over.
int counted = 0;
int count_through()
{
	const int v = counted;
	counted = static_cast<int>((counted + 1) % (fifteen_bit_max + 1));
	return v;
}

bool same(Point a, Point b)
{
	return a.x == b.x && a.y == b.y;
}

// A count as a document writes it: plain, or grouped by thousands with commas.
std::string written(Uint64 n, bool grouped)
{
	const std::string digits = std::to_string(n);
	std::string out;
	for (size_t i = 0; i < digits.size(); i++) {
		if (grouped && i > 0 && (digits.size() - i) % 3 == 0)
			out += ',';
		out += digits[i];
	}
	return out;
}

} // namespace

TEST(Circle, PixelCentresGiveAnEstimateNearPi)
{
	int passed = 0;
	for (int x = 0; x <= last; x++)
		for (int y = 0; y <= last; y++)
			passed += inside_circle(at(x, y));
	EXPECT_EQ(passed, pixels_inside);
	EXPECT_DOUBLE_EQ(estimate(passed, board_pixels), settles_at);
	EXPECT_NEAR(estimate(passed, board_pixels), 3.14159265, 0.00031);
}

// What the documents a reader meets say of where the estimate settles is the
// board's own count.  The page quotes the program's figures as the build
// writes them in, in the reader's way of writing numbers.
TEST(Circle, DocumentsGiveTheBoardsFigures)
{
	struct Case {
		const char *file;
		bool grouped;
	};
	const Case cases[] = {
	        {"README.md", true},
	        {"data/io.github.quorvel.Quorvel.metainfo.xml.in", true},
	        {"data/quorvel.6.in", false},
	};
	char settles[sizeof "3.1419"];
	std::snprintf(settles, sizeof settles, "%.4f", settles_at);
	for (const Case &c : cases) {
		std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/" + c.file);
		const std::string text{std::istreambuf_iterator<char>(in), {}};
		for (const std::string &figure : {written(pixels_inside, c.grouped),
		                                  written(board_pixels, c.grouped), std::string(settles)})
			EXPECT_NE(text.find(figure), std::string::npos)
			        << c.file << " does not say " << figure;
	}
}

TEST(Circle, BoundaryPixels)
{
	struct Case {
		Sint16 x, y;
		int in;
	};
	const Case cases[] = {
	        {200, 0, 1},   {0, 200, 1},   {399, 200, 1}, {200, 399, 1}, {59, 59, 1},
	        {340, 340, 1}, {0, 0, 0},     {399, 0, 0},   {0, 399, 0},   {399, 399, 0},
	        {58, 58, 0},   {341, 341, 0}, {200, 200, 1}, {199, 199, 1},
	};
	for (const Case &c : cases)
		EXPECT_EQ(inside_circle(Point{c.x, c.y}), c.in) << c.x << "," << c.y;
}

TEST(Circle, SymmetricUnderMirrorsAndSwap)
{
	for (int x = 0; x <= last; x++)
		for (int y = 0; y <= last; y++) {
			const int in = inside_circle(at(x, y));
			ASSERT_EQ(in, inside_circle(at(last - x, y))) << x << "," << y;
			ASSERT_EQ(in, inside_circle(at(x, last - y))) << x << "," << y;
			ASSERT_EQ(in, inside_circle(at(y, x))) << x << "," << y;
		}
}

TEST(RandomPoint, TakesXThenYFromRandWithinTheBoard)
{
	for (unsigned seed : {1U, 42U, 20261207U}) {
		std::srand(seed);
		const int a = std::rand();
		const int b = std::rand();
		std::srand(seed);
		const Point p = random_point();
		EXPECT_EQ(p.x, a % board_size);
		EXPECT_EQ(p.y, b % board_size);
	}
	int lo = board_size;
	int hi = -1;
	for (const Point &p : samples_after_seed(5, 200000)) {
		lo = std::min({lo, int{p.x}, int{p.y}});
		hi = std::max({hi, int{p.x}, int{p.y}});
	}
	EXPECT_EQ(lo, 0);
	EXPECT_EQ(hi, last);
}

// A generator whose range is no multiple of 400 must not favour low values.
TEST(RandomPoint, EvenOnAFifteenBitGenerator)
{
	// Two cycles through the range give 2 x 81 accepted values per coordinate.
	std::vector<int> seen(board_size);
	counted = 0;
	for (int i = 0; i < 81 * board_size; i++) {
		const Point p = random_point(count_through, fifteen_bit_max);
		seen[p.x]++;
		seen[p.y]++;
	}
	for (int c = 0; c < board_size; c++)
		ASSERT_EQ(seen[c], 2 * 81) << "coordinate " << c;
}

// Within four standard deviations (0.0015) of the board's 3.1419 after 2e7
// samples, on Windows' generator and on this platform's own rand; the
// remainder alone would settle near 3.1452 on the first, and on the second
// where rand has 15 bits.
TEST(RandomPoint, LongRunSettlesOnTheBoardsShare)
{
	struct Case {
		const char *what;
		Point (*draw)();
	};
	const Case cases[] = {
	        {"Windows' rand", [] { return random_point(windows_rand, fifteen_bit_max); }},
	        {"this platform's rand", [] { return random_point(); }},
	};
	constexpr Uint64 samples = 20000000;
	for (const Case &c : cases) {
		windows_state = 20261207;
		std::srand(20261207);
		Uint64 inside = 0;
		for (Uint64 i = 0; i < samples; i++)
			inside += static_cast<Uint64>(inside_circle(c.draw()));
		EXPECT_NEAR(estimate(inside, samples), settles_at, 0.0015) << c.what;
	}
}

TEST(Trail, ShiftDropsTheOldestAndKeepsTheNewest)
{
	Point points[trail_length];
	for (int i = 0; i < trail_length; i++)
		points[i] = at(i, 100 + i);
	shift(points);
	for (int i = 0; i < trail_length; i++) {
		const int from = std::min(i + 1, trail_length - 1);
		EXPECT_TRUE(same(points[i], at(from, 100 + from))) << i;
	}
}

// Runs k steps from a blank trail and checks the trail, the tally and the
// estimate against the same samples drawn directly.
TEST(Trail, StepsFillTheTrailOldestFirstAndCountTheTally)
{
	for (int k : {1, 2, 9, 10, 11, 1000}) {
		const std::vector<Point> drawn = samples_after_seed(99, k);
		Point points[trail_length];
		for (Point &p : points)
			p = blank_point();
		Uint64 inside = 0;
		Uint64 total = 0;
		std::srand(99);
		for (int i = 0; i < k; i++)
			sample_step(points, &inside, &total);

		for (int i = 0; i < trail_length; i++) {
			const int sample = k - trail_length + i;
			const Point want = sample < 0 ? Point{-20, -20} : drawn[sample];
			EXPECT_TRUE(same(points[i], want)) << "k=" << k << " entry " << i;
		}
		Uint64 want_inside = 0;
		for (const Point &p : drawn)
			want_inside += inside_circle(p);
		EXPECT_EQ(total, Uint64(k));
		EXPECT_EQ(inside, want_inside) << "k=" << k;
		EXPECT_DOUBLE_EQ(estimate(inside, total), 4.0 * double(want_inside) / k);
	}
}

TEST(Tally, CountsPastThirtyTwoBits)
{
	Point points[trail_length];
	for (Point &p : points)
		p = blank_point();
	Uint64 inside = 0xFFFFFFFFULL;
	Uint64 total = 0xFFFFFFFFULL;
	std::srand(3);
	for (int i = 0; i < 3; i++)
		sample_step(points, &inside, &total);
	EXPECT_EQ(total, 0x100000002ULL);
	EXPECT_GE(inside, 0xFFFFFFFFULL);
	EXPECT_LE(inside, total);
}

TEST(Tally, Estimate)
{
	struct Case {
		Uint64 inside, total;
		double pi;
	};
	const Case cases[] = {
	        {1, 1, 4.0},
	        {0, 1, 0.0},
	        {3, 4, 3.0},
	        {2, 3, 8.0 / 3.0},
	        {3000000000ULL, 4000000000ULL, 3.0},
	        {pixels_inside, board_pixels, settles_at},
	};
	for (const Case &c : cases)
		EXPECT_DOUBLE_EQ(estimate(c.inside, c.total), c.pi) << c.inside << "/" << c.total;
}
