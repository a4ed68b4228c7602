// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Counts how often SDL's timer really calls back when asked for every 1 ms,
// over a number of seconds, and prints the rate to standard error.
#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{

Uint32 count_tick(Uint32 ms, void *param)
{
	static_cast<std::atomic<long> *>(param)->fetch_add(1);
	return ms;
}

} // namespace

int main(int argc, char *argv[])
{
	const Uint32 seconds = argc > 1 ? static_cast<Uint32>(std::atoi(argv[1])) : 10;
	std::atomic<long> ticks{0};
	SDL_Init(SDL_INIT_TIMER);
	const SDL_TimerID id = SDL_AddTimer(1, count_tick, &ticks);
	SDL_Delay(500);
	const long c0 = ticks.load();
	const Uint32 t0 = SDL_GetTicks();
	SDL_Delay(seconds * 1000);
	const long c1 = ticks.load();
	const Uint32 t1 = SDL_GetTicks();
	SDL_RemoveTimer(id);
	SDL_Quit();
	std::fprintf(stderr, "%.2f\n", static_cast<double>(c1 - c0) * 1000.0 / (t1 - t0));
	return 0;
}
