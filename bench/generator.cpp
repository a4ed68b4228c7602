// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* One run of the program's own sampling at a scale where the board's flaw
 * shows: sample_step with the platform's rand, seeded as given, and nothing
 * drawn, its tally printed at 10^8 samples and at every tenfold after, up to
 * MOST.  Built by Emscripten for Node it runs the page's rand; built
 * natively, the desktop's.  bench/generator.py runs it over many seeds.
 *
 *   generator SEED MOST     one line "SEED SAMPLES INSIDE" each tenfold
 */
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "sampling.hpp"

namespace
{

constexpr Uint64 first_count = 100000000;
constexpr int decimal = 10;

} // namespace

int main(int argc, char *argv[])
{
	if (argc != 3) {
		std::fputs("usage: generator SEED MOST\n", stderr);
		return 2;
	}
	const auto seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, decimal));
	const Uint64 most = std::strtoull(argv[2], nullptr, decimal);
	Point points[trail_length];
	for (Point &p : points)
		p = blank_point();
	Uint64 inside = 0;
	Uint64 total = 0;
	std::srand(seed);
	for (Uint64 count = first_count; count <= most; count *= decimal) {
		while (total < count)
			sample_step(points, &inside, &total);
		std::printf("%u %" PRIu64 " %" PRIu64 "\n", seed, total, inside);
		std::fflush(stdout);
	}
	return 0;
}
