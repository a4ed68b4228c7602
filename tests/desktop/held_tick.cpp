// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Preloaded into the program to hold its tick: the timer fires once, at once,
// so that the first picture shows, and never again, so that every later
// sample is one an input event took.
#include <SDL.h>

extern "C" SDL_TimerID SDL_AddTimer(Uint32 interval, SDL_NewTimerCallback callback, void *param)
{
	static int held;
	callback(interval, param);
	return reinterpret_cast<SDL_TimerID>(&held);
}

extern "C" SDL_bool SDL_RemoveTimer(SDL_TimerID /*id*/)
{
	return SDL_TRUE;
}
