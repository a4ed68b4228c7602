// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "sdl_stack.hpp"

#include <SDL.h>

#include <dlfcn.h>

namespace
{

void *loaded(const char *library)
{
	return dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
}

std::string dotted(int major, int minor, int patch)
{
	return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

} // namespace

std::string sdl_stack()
{
	const SDL_version *v12 = SDL_Linked_Version();
	std::string out = (v12->patch < 50 ? "SDL 1.2." : "sdl12-compat 1.2.") + std::to_string(v12->patch);
	if (void *sdl2 = loaded("libSDL2-2.0.so.0")) {
		SDL_version v{}; // laid out as SDL 2's is
		if (auto get = reinterpret_cast<void (*)(SDL_version *)>(dlsym(sdl2, "SDL_GetVersion")))
			get(&v);
		out += (on_sdl2() ? " over SDL " : " over sdl2-compat ") + dotted(v.major, v.minor, v.patch);
	}
	if (void *sdl3 = loaded("libSDL3.so.0")) {
		if (auto get = reinterpret_cast<int (*)()>(dlsym(sdl3, "SDL_GetVersion"))) {
			const int v = get(); // major * 1000000 + minor * 1000 + patch
			out += " over SDL " + dotted(v / 1000000, v / 1000 % 1000, v % 1000);
		}
	}
	return out;
}

bool on_sdl2()
{
	return loaded("libSDL2-2.0.so.0") != nullptr && loaded("libSDL3.so.0") == nullptr;
}
