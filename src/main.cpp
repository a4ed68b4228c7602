/* quorvel: estimate pi by sampling random pixels, and watch it happen.
 *
 * Design note.  A timer on SDL's own thread pushes a tick into SDL's event
 * queue; the main thread waits on that queue and runs one step for every
 * event that is not the close request: a sample, a new estimate, a redraw and
 * a flip.  The queue is the only thing the two threads share, and SDL guards
 * it, so the program needs no locks.  All state lives in main's locals; there
 * are no globals and nothing on the heap.
 *
 * Sections: constants, the tick, opening the window, main.
 */
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "sampling.hpp"
#include "scene.hpp"

namespace
{

constexpr Uint32 subsystems = SDL_INIT_TIMER | SDL_INIT_VIDEO;
constexpr int colour_depth = 0; // whatever the display uses
constexpr Uint32 video_flags = SDL_ANYFORMAT;
constexpr const char *title = "Quorvel";
constexpr const char *no_window = "OMG no window\n";
constexpr Uint32 tick_ms = 1; // SDL rounds this up to its own granularity
constexpr int max_pending_ticks = 16;
constexpr int driver_name_size = 32;

/* SDL 1.2's queue holds 128 events and drops a push into a full one without a
 * word, close request included.  When steps run slower than the tick, ticks
 * would fill it and the window could no longer be closed; keeping a few ticks
 * queued at most leaves room for the close request and for input.  SDL's own
 * queue does the counting, so this thread still shares nothing with main. */
int pending_ticks()
{
	SDL_Event pending[max_pending_ticks];
	return SDL_PeepEvents(pending, max_pending_ticks, SDL_PEEKEVENT, SDL_EVENTMASK(SDL_USEREVENT));
}

Uint32 timer(Uint32 ms, void * /*param*/)
{
	if (pending_ticks() < max_pending_ticks) {
		SDL_Event ev{};
		ev.type = SDL_USEREVENT;
		SDL_PushEvent(&ev);
	}
	return ms;
}

/* With no display, SDL 2 under the 1.2 compat library quietly falls back to a
 * driver that draws into memory, and the program would run for ever with
 * nothing on screen.  Such a driver counts as no window, unless the user asked
 * SDL for it by name (headless tests do). */
bool shows_nothing()
{
	char name[driver_name_size];
	if (SDL_VideoDriverName(name, sizeof name) == nullptr)
		return true;
	if (SDL_strcasecmp(name, "offscreen") != 0 && SDL_strcasecmp(name, "dummy") != 0)
		return false;
	const char *asked = SDL_getenv("SDL_VIDEODRIVER");
	return asked == nullptr || SDL_strcasecmp(asked, name) != 0;
}

/* The window is a 400 x 420 software surface, and putting it on screen needs
 * no GPU.  SDL 2 under the 1.2 compat library would present it through an
 * OpenGL renderer, which without GL acceleration is Mesa's software
 * rasteriser: about a quarter of a core and 100 MB resident, where X's own
 * image path takes 5 % and 12 MB.  The old SDL 1.2 ignores both settings.
 * A value the user set in the environment wins.  putenv keeps the string
 * itself, so it must live as long as the process. */
void prefer_software_presentation()
{
	if (SDL_getenv("SDL_FRAMEBUFFER_ACCELERATION") == nullptr) {
		static char no_gl_surface[] = "SDL_FRAMEBUFFER_ACCELERATION=0";
		SDL_putenv(no_gl_surface);
	}
	if (SDL_getenv("SDL_RENDER_DRIVER") == nullptr) {
		static char software_renderer[] = "SDL_RENDER_DRIVER=software";
		SDL_putenv(software_renderer);
	}
}

SDL_Surface *open_window()
{
	SDL_Surface *screen = SDL_SetVideoMode(window_width, window_height, colour_depth, video_flags);
	if (screen == nullptr || shows_nothing()) {
		std::fputs(no_window, stderr);
		std::exit(1);
	}
	SDL_WM_SetCaption(title, title);
	return screen;
}

} // namespace

int main(int /*argc*/, char * /*argv*/[])
{
	SDL_Event ev;
	Uint64 total;
	Uint64 inside;
	Point points[trail_length];
	char pitext[pitext_size];
	char stuff[stuff_size];

	std::srand(static_cast<unsigned>(std::time(nullptr)));
	prefer_software_presentation();
	SDL_Init(subsystems);
	SDL_Surface *screen = open_window();
	total = 0;
	inside = 0;
	const SDL_TimerID id = SDL_AddTimer(tick_ms, timer, nullptr);
	draw_startup(screen);
	for (Point &p : points)
		p = blank_point();

	while (SDL_WaitEvent(&ev) != 0 && ev.type != SDL_QUIT) {
		sample_step(points, &inside, &total);
		const double pi = estimate(inside, total);
		draw_step(screen, points, inside, total, pi, pitext, stuff);
		SDL_Flip(screen);
	}

	SDL_RemoveTimer(id);
	SDL_Quit();
	return 0;
}
