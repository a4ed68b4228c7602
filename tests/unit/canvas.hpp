// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// An off-screen surface of the window's size, read back pixel by pixel.
#pragma once

#include <SDL.h>

#include <array>
#include <functional>

using Rgb = std::array<Uint8, 3>;

constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};

// What the window shows: the trail colour of an index, 0 oldest to 9 newest,
Rgb ramp(int index);
// and whether a board pixel belongs to the border or, where they cross the
// axes through the centre, to the three circles.
bool frame_pixel(int x, int y);

class Canvas
{
public:
	Canvas(int w, int h);
	~Canvas();
	Canvas(const Canvas &) = delete;
	Canvas &operator=(const Canvas &) = delete;

	SDL_Surface *surface() const { return surface_; }
	int width() const { return surface_->w; }
	Rgb at(int x, int y) const;
	void fill(Rgb c);
	// Calls f on every pixel in rows top..bottom; stops at the first false.
	bool all_rows(int top, int bottom, const std::function<bool(int, int, const Rgb &)> &f) const;

private:
	SDL_Surface *surface_;
};
