// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* quorvel: estimate pi by sampling random pixels, and watch it happen.
 *
 * Design note.  A timer on SDL's own thread pushes a tick into SDL's event
 * queue; the main thread waits on that queue and runs one step for every
 * event that is not the close request: a sample, and a picture.  The first
 * picture shows the first sample; after it, the picture goes to the screen
 * once no further event waits, and only then is the whole scene drawn: a
 * step that will not be seen draws no more than its lasting grey dot, and the
 * picture shown is still, to the byte, the one that drawing every step whole
 * would give (scene.cpp says why).  A flip can cost milliseconds on a slow
 * display and a whole scene tens of microseconds, while a sample costs a
 * fraction of one, so a backlog of pointer motion drains at the cost of its
 * samples, and the close request behind it is read at once.  At the tick's
 * pace nothing waits, and every step is drawn and flipped.  The queue is the
 * only thing the two threads share, and SDL guards it, so the program needs
 * no locks.  All state lives in main's locals; there are no globals and
 * nothing on the heap.
 *
 * In the browser this same code runs, but the page provides its own wait,
 * timer and flip, in src/web/, which the web build in CMakeLists.txt puts in
 * place of SDL's: they pace the steps by the display's frames and the
 * teacher's controls, an event waits there while the display frame's batch
 * owes a tick and has time for it, and the page's "start again" arrives as
 * the close request, after which the page calls main anew.
 *
 * Sections: constants, the seed, the tick, the queue, presentation settings,
 * opening the window, main.
 */
#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

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
constexpr Uint32 any_event = 0xFFFFFFFF; // SDL 1.2's SDL_ALLEVENTS, which the page's SDL lacks
constexpr int driver_name_size = 32;
[[maybe_unused]] constexpr int setting_size = 64;            // Windows' unset only
constexpr std::uint64_t seed_spread = 0x9E3779B97F4A7C15ULL; // 2^64 / golden ratio

// Presentation settings the program prefers unless the user set them; the
// indices are the bits of the mask that says which the program set itself.
constexpr const char *presentation[] = {"SDL_FRAMEBUFFER_ACCELERATION", "SDL_RENDER_DRIVER",
                                        "SDL_VIDEO_GL_DRIVER", "SDL_OPENGL_LIBRARY"};
constexpr unsigned first_gl_library = 2; // SDL 2's name for it, then SDL 3's

/* Two programs started in the same second, side by side or from a script,
 * must not draw the same samples: time()'s whole seconds would give them one
 * seed.  The steady clock counts far finer; the wall clock keeps runs apart
 * across restarts, where the steady clock starts again.  Both are folded down
 * to the width srand takes. */
unsigned clock_seed()
{
	const auto wall =
	        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
	const auto fine =
	        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
	const std::uint64_t mixed = wall ^ (fine * seed_spread);
	return static_cast<unsigned>(mixed ^ (mixed >> 32));
}

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

/* SDL moves what the display has sent into its queue only when asked. */
bool events_waiting()
{
	SDL_Event next;
	SDL_PumpEvents();
	return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, any_event) > 0;
}

bool is_set(const char *name)
{
	return SDL_getenv(name) != nullptr;
}

/* Windows' putenv removes a variable given no value; elsewhere that would
 * leave it set but empty, which SDL reads otherwise than unset. */
void unset(const char *name)
{
#ifdef _WIN32
	char setting[setting_size];
	std::snprintf(setting, sizeof setting, "%s=", name);
	_putenv(setting);
#else
	unsetenv(name);
#endif
}

/* The window is a 400 x 420 software surface, and putting it on screen needs
 * no GPU.  SDL 2 under the 1.2 compat library would present it through an
 * OpenGL renderer, which without GL acceleration is Mesa's software
 * rasteriser: about a quarter of a core and 100 MB resident, where X's own
 * image path takes 5 % and 12 MB.  Since 1.2.70 the compat library also makes
 * every window an OpenGL one whenever SDL lists OpenGL's renderer first,
 * whatever renderer is asked for, and that alone loads Mesa; as it makes a
 * plain window when OpenGL cannot be loaded, the program names a GL library
 * that does not exist (SDL 2 reads SDL_VIDEO_GL_DRIVER, SDL 3
 * SDL_OPENGL_LIBRARY).  The old SDL 1.2 ignores all of these.
 *
 * A value the user set wins, and one who set any of these may want OpenGL.
 * Bit i of the result says that the program set presentation[i] itself, so
 * that open_window can withdraw exactly those.  putenv keeps the string
 * itself, so each must live as long as the process. */
unsigned prefer_software_presentation()
{
	static char framebuffer[] = "SDL_FRAMEBUFFER_ACCELERATION=0";
	static char renderer[] = "SDL_RENDER_DRIVER=software";
	static char gl_driver[] = "SDL_VIDEO_GL_DRIVER=quorvel-presents-without-opengl";
	static char gl_library[] = "SDL_OPENGL_LIBRARY=quorvel-presents-without-opengl";
	char *const settings[] = {framebuffer, renderer, gl_driver, gl_library};
	static_assert(std::size(settings) == std::size(presentation));
	// A user who chose any of these may want OpenGL: then name no GL library.
	bool chosen = false;
	for (const char *name : presentation)
		chosen = chosen || is_set(name);
	unsigned ours = 0;
	for (unsigned i = 0; i < std::size(settings); i++) {
		if (is_set(presentation[i]) || (i >= first_gl_library && chosen))
			continue;
		SDL_putenv(settings[i]);
		ours |= 1U << i;
	}
	return ours;
}

void withdraw(unsigned ours)
{
	for (unsigned i = 0; i < std::size(presentation); i++)
		if ((ours & (1U << i)) != 0)
			unset(presentation[i]);
}

/* SDL_VIDEODRIVER may list several drivers to try, and SDL 3 reads
 * SDL_VIDEO_DRIVER instead: either naming this driver asked for it. */
bool asked_for(const char *variable, const char *driver)
{
	const size_t length = SDL_strlen(driver);
	for (const char *p = SDL_getenv(variable); p != nullptr;) {
		const char *comma = SDL_strchr(p, ',');
		const size_t n = comma != nullptr ? static_cast<size_t>(comma - p) : SDL_strlen(p);
		if (n == length && SDL_strncasecmp(p, driver, length) == 0)
			return true;
		p = comma != nullptr ? comma + 1 : nullptr;
	}
	return false;
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
	return !asked_for("SDL_VIDEODRIVER", name) && !asked_for("SDL_VIDEO_DRIVER", name);
}

SDL_Surface *video_mode()
{
	SDL_Surface *screen = SDL_SetVideoMode(window_width, window_height, colour_depth, video_flags);
	return screen == nullptr || shows_nothing() ? nullptr : screen;
}

/* The program's own preferences must never cost the window: where SDL refuses
 * it under them (SDL 3 under Wayland has no window framebuffer for the
 * software renderer), try once more as SDL would choose alone.  SDL 3 reads
 * its settings when it starts, so it has to start again. */
SDL_Surface *open_window(unsigned ours)
{
	SDL_Surface *screen = video_mode();
	if (screen == nullptr && ours != 0) {
		SDL_Quit();
		withdraw(ours);
		SDL_Init(subsystems);
		screen = video_mode();
	}
	if (screen == nullptr) {
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

	std::srand(clock_seed());
	const unsigned ours = prefer_software_presentation();
	SDL_Init(subsystems);
	SDL_Surface *screen = open_window(ours);
	total = 0;
	inside = 0;
	const SDL_TimerID id = SDL_AddTimer(tick_ms, timer, nullptr);
	draw_startup(screen);
	for (Point &p : points)
		p = blank_point();

	while (SDL_WaitEvent(&ev) != 0 && ev.type != SDL_QUIT) {
		sample_step(points, &inside, &total);
		if (total == 1 || !events_waiting()) {
			draw_step(screen, points, inside, total, estimate(inside, total), pitext, stuff);
			SDL_Flip(screen);
		} else {
			draw_lasting(screen, points);
		}
	}

	SDL_RemoveTimer(id);
	SDL_Quit();
	return 0;
}
