// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Preloaded into the program to make every step 15 ms slower, as on a slow
// machine or a slow X connection.
#include <SDL.h>

#include <dlfcn.h>
#include <unistd.h>

extern "C" int SDL_Flip(SDL_Surface *screen)
{
	using Flip = int (*)(SDL_Surface *);
	static const auto real = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "SDL_Flip"));
	usleep(15000);
	return real(screen);
}
