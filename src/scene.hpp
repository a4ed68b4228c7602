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

void Point_draw(SDL_Surface *screen, Point p, int index);
void draw_startup(SDL_Surface *screen);
void draw_step(SDL_Surface *screen, const Point *points, Uint64 inside, Uint64 total, double pi,
               char (&pitext)[pitext_size], char (&stuff)[stuff_size]);
