// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "strip.hpp"

#include <SDL_gfxPrimitives.h>

#include <array>
#include <cstdio>
#include <map>

#include "scene.hpp"

namespace
{

constexpr int glyph = glyph_size;

using Cell = std::array<bool, size_t{glyph} * glyph>;

// The glyphs the strip can hold, as SDL_gfx's own font draws them, so no
// OCR is needed: a cell either is one of these exactly or is no text.
const std::map<Cell, char> &font()
{
	static const std::map<Cell, char> table = [] {
		std::map<Cell, char> t;
		for (const char c : std::string("0123456789./")) {
			Canvas canvas(glyph, glyph);
			canvas.fill(black);
			const char text[] = {c, '\0'};
			stringRGBA(canvas.surface(), 0, 0, text, 255, 0, 0, 255);
			Cell cell{};
			for (int i = 0; i < glyph * glyph; i++)
				cell[i] = canvas.at(i % glyph, i / glyph) == red;
			t[cell] = c;
		}
		return t;
	}();
	return table;
}

// Reads glyphs from x rightwards until a blank cell; '?' for one that is no
// glyph.  The picture may be shown scale times its size.
std::string read_text(const Screenshot &shot, int scale, int x)
{
	std::string out;
	for (; (x + glyph) * scale <= shot.width(); x += glyph) {
		Cell cell{};
		bool blank = true;
		for (int i = 0; i < glyph * glyph; i++) {
			cell[i] = shot.at((x + i % glyph) * scale, (text_y + i / glyph) * scale) == red;
			blank = blank && !cell[i];
		}
		if (blank)
			break;
		const auto it = font().find(cell);
		out += it == font().end() ? '?' : it->second;
	}
	return out;
}

} // namespace

std::optional<Strip> read_strip(const Screenshot &shot)
{
	const bool scaled = shot.width() % window_width == 0 && shot.width() > window_width &&
	                    shot.height() == shot.width() / window_width * window_height;
	const int scale = scaled ? shot.width() / window_width : 1;
	if (shot.height() < (text_y + glyph) * scale)
		return std::nullopt;
	Strip s;
	const std::string tally = read_text(shot, scale, tally_x);
	char rest = 0;
	if (std::sscanf(tally.c_str(), "%llu/%llu%c", &s.inside, &s.total, &rest) != 2 || s.total == 0)
		return std::nullopt;
	s.estimate = read_text(shot, scale, estimate_x);
	return s;
}
