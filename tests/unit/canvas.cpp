// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "canvas.hpp"

#include <stdexcept>

/* The ten colours written out, not worked out: the scene computes them, so
 * a slip in its formula must not pass by the same formula here. */
Rgb ramp(int index)
{
	static constexpr Rgb colours[] = {
	        {100, 100, 100}, {117, 90, 90}, {134, 80, 80}, {151, 70, 70}, {168, 60, 60},
	        {185, 50, 50},   {202, 40, 40}, {219, 30, 30}, {236, 20, 20}, {253, 10, 10},
	};
	return colours[index];
}

bool frame_pixel(int x, int y)
{
	const bool border = y <= 400 && (x <= 4 || x >= 396 || y <= 4 || y >= 396);
	const bool on_axis = (x == 200 && ((y >= 5 && y <= 7) || (y >= 393 && y <= 395))) ||
	                     (y == 200 && ((x >= 5 && x <= 7) || (x >= 393 && x <= 395)));
	return border || on_axis;
}

Canvas::Canvas(int w, int h)
    : surface_(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0))
{
	if (surface_ == nullptr)
		throw std::runtime_error(SDL_GetError());
}

Canvas::~Canvas()
{
	SDL_FreeSurface(surface_);
}

Rgb Canvas::at(int x, int y) const
{
	const auto *row =
	        static_cast<const Uint8 *>(surface_->pixels) + static_cast<ptrdiff_t>(y) * surface_->pitch;
	const Uint32 px = reinterpret_cast<const Uint32 *>(row)[x];
	Rgb c{};
	SDL_GetRGB(px, surface_->format, &c[0], &c[1], &c[2]);
	return c;
}

void Canvas::fill(Rgb c)
{
	SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, c[0], c[1], c[2]));
}

bool Canvas::all_rows(int top, int bottom, const std::function<bool(int, int, const Rgb &)> &f) const
{
	for (int y = top; y <= bottom; y++)
		for (int x = 0; x < width(); x++)
			if (!f(x, y, at(x, y)))
				return false;
	return true;
}
