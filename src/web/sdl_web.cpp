// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The web build's own SDL calls, where Emscripten's SDL 1.2 lacks or differs
 * from the desktop's (see sdl_web.hpp).
 *
 * Design note.  The program waits for events; the browser must get its thread
 * back to paint and to deliver input.  With Asyncify, quorvel_wait_event
 * sleeps the way the desktop's SDL_WaitEvent blocks, and runs the tick timer
 * itself, a display frame at a time: sdl_web.js wakes it once a frame with
 * the number of ticks the frame owes (a tick every 10 ms, SDL 1.2's
 * granularity, times the speed the page asks for; none while paused, but
 * for each sample asked for one at a time), and the batch runs them, each
 * through the program's own callback and a whole step, until they are done
 * or most of the frame is spent; the rest are dropped, never caught up.  The
 * pushed ticks are counted here, since Emscripten's queue cannot be peeked.
 * The page's request to start again comes as the close request.
 *
 * The program asks whether an event waits, and draws its whole scene only
 * where none does, as the picture is about to be shown: so here an event
 * waits exactly when the next wait returns one without showing the picture.
 * Pumping the events does what SDL's pump does with the display's: it moves
 * what is due into the queue, the browser's next event that SDL 1.2 knows,
 * and the frame's next tick while the batch has time for it.  An event said
 * to wait is then in the queue, and the wait takes it before any picture is
 * shown, however long the step in between took.
 *
 * Drawing: SDL_gfx draws straight into the screen's pixels, and a flip only
 * marks them changed: sdl_web.js puts them on the canvas once, at the end of
 * the frame's batch, straight from the program's memory.  SDL_gfx's own locks
 * and unlocks of the screen stop here: each outermost pair would copy the
 * whole canvas, and its circle unlocks twice.  A second run keeps the first
 * run's screen and SDL, whose set-up adds listeners and memory each time.
 * Text comes as small glyph surfaces blitted onto the screen; Emscripten would
 * blit canvas to canvas, under the locked pixels, so the blit is done here.
 *
 * Events: Emscripten's SDL is part SDL 2.  It reports a touch, a click or a
 * drag twice, as the mouse event SDL 1.2 knows and as an SDL 2 finger event,
 * and the wheel three times; an SDL 1.2 program never sees SDL 2's events,
 * so they stop here, and each touch, click or move takes one sample, as on
 * the desktop.  Its listeners, added as it starts, pass through the layer:
 * on the canvas they would cancel every touch and wheel event, which keeps the
 * page from scrolling smoothly, but the page's style keeps touches on the
 * picture from scrolling, so here they listen passively; and its unload
 * listener, which would keep the page out of the browser's back/forward cache,
 * is never added, since a page that is going has nothing left to close.
 *
 * The strip's texts go to the page as they are drawn, at every step drawn
 * whole (each picture shown, and a new run's first step), and with them
 * where the trail's samples landed, for the page's sound: such a step draws
 * the whole trail, oldest first, just before the strip, so the last ten
 * discs drawn are the ten newest samples, the ones taken since the last
 * hand-over among them, though a step that is not shown draws none of its
 * own.  Whether each is inside is the program's own test.
 *
 * Sections: constants, state, the timer, events, the screen, blits, the strip.
 */
#define QUORVEL_WEB_LAYER
#include "sdl_web.hpp"

#include <SDL_gfxPrimitives.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdio>

#include "scene.hpp"

// The layer's JavaScript half, sdl_web.js: the frames, and the picture shown.
extern "C" {
void quorvel_frames_show(void *pixels, int width, int height);
void quorvel_frames_pace(Uint32 interval_ms, int most_ticks);
int quorvel_frames_next(int changed, int unrun);
double quorvel_frames_budget(void);
void quorvel_frames_ended(void);
}

namespace
{

constexpr Uint32 granularity_ms = 10; // SDL 1.2's timer rounds to this
constexpr int most_ticks_queued = 16; // a frame accounts for at most these ticks' time, times the speed
// The clock is read once in so many ticks: a read costs more than a step
// that draws only its lasting disc, and so many steps take microseconds.
constexpr unsigned ticks_per_clock_read = 16;
constexpr Uint32 opaque_alpha = 255;
constexpr int estimate_size = 32; // "3.14159265" and room to spare

/* The one timer and the ticks it has pushed, and the display frame's batch:
 * a platform layer's state, like SDL's own, not the program's. */
struct Timer {
	SDL_TimerCallback callback = nullptr;
	void *param = nullptr;
	Uint32 interval = 0;
	int queued = 0;
};
struct Frame {
	int owed = 0;         // ticks this frame still owes
	double deadline = 0;  // when the frame's share of time is spent
	bool changed = false; // the screen was flipped since it was last shown
	unsigned ticks = 0;   // run in this batch
};
// The browser's next event, taken from SDL's queue to be looked at.
struct Held {
	SDL_Event event{};
	bool waiting = false;
};
Timer timer;                        // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
Frame frame;                        // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
Held held;                          // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
SDL_Surface *screen = nullptr;      // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
bool sdl_started = false;           // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
char strip_estimate[estimate_size]; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
Point drawn[trail_length];          // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

Uint32 rounded(Uint32 ms)
{
	const Uint32 steps = (ms + granularity_ms - 1) / granularity_ms;
	return (steps == 0 ? 1 : steps) * granularity_ms;
}

// One tick, as SDL's timer thread would run it on the desktop.
void run_tick()
{
	if (timer.callback == nullptr)
		return;
	const Uint32 next = timer.callback(timer.interval, timer.param);
	if (next == 0) {
		timer.callback = nullptr;
		return;
	}
	if (rounded(next) != timer.interval) {
		timer.interval = rounded(next);
		quorvel_frames_pace(timer.interval, most_ticks_queued);
	}
}

/* Shows what the batch drew, hands back the ticks it had no time for, and
 * sleeps until the next frame; false where the page asks to start again. */
bool next_frame()
{
	const int owed = quorvel_frames_next(frame.changed ? 1 : 0, frame.owed);
	frame = Frame{};
	if (owed < 0)
		return false;
	frame.owed = owed;
	frame.deadline = emscripten_get_now() + quorvel_frames_budget();
	return true;
}

bool sdl2_only(Uint32 type)
{
	return type == SDL_MOUSEWHEEL || type == SDL_TEXTINPUT || type == SDL_TEXTEDITING ||
	       (type >= SDL_FINGERDOWN && type <= SDL_FINGERMOTION);
}

/* The browser's next event that SDL 1.2 knows, held for the next wait, as
 * Emscripten's queue cannot be peeked.  The queue is asked at every step:
 * a batch that took its emptiness for granted until the next frame lost
 * input in Firefox. */
bool browser_event()
{
	while (!held.waiting && SDL_PollEvent(&held.event) != 0)
		held.waiting = !sdl2_only(held.event.type);
	return held.waiting;
}

// Whether the batch has time for another tick, by the clock now and then.
bool time_left()
{
	return frame.ticks % ticks_per_clock_read != 0 || emscripten_get_now() < frame.deadline;
}

/* The frame's next tick, run while the batch has time for it, where no tick
 * is queued yet. */
bool tick_due()
{
	while (timer.queued == 0 && frame.owed > 0 && time_left()) {
		frame.owed--;
		frame.ticks++;
		run_tick();
	}
	return timer.queued > 0;
}

/* The close request that ends this run: nothing of it goes on to the next,
 * neither its ticks nor input it has not taken. */
void close_request(SDL_Event *ev)
{
	timer.queued = 0;
	held = Held{};
	while (SDL_PollEvent(ev) != 0)
		continue;
	*ev = SDL_Event{};
	ev->type = SDL_QUIT;
}

// The browser's SDL fills in a format's masks but not its shifts.
Uint32 shift_of(Uint32 mask)
{
	return mask == 0 ? 0 : static_cast<Uint32>(__builtin_ctz(mask));
}

Uint8 channel(Uint32 pixel, Uint32 mask)
{
	return static_cast<Uint8>((pixel & mask) >> shift_of(mask));
}

Uint32 placed(Uint8 value, Uint32 mask)
{
	return (Uint32{value} << shift_of(mask)) & mask;
}

Uint8 blend(Uint8 over, Uint8 under, Uint8 alpha)
{
	return static_cast<Uint8>((over * alpha + under * (opaque_alpha - alpha)) / opaque_alpha);
}

Uint32 *pixel_at(SDL_Surface *s, int x, int y)
{
	return reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch) + x;
}

/* While SDL sets up, the listeners it adds to the window, the document and
 * the canvas pass through here.  The unload listener is dropped.  Touch,
 * scroll and wheel events reach SDL as copies, passively, so that the browser
 * never waits on the program to scroll; a touch's end is cancelled only where
 * the browser still allows it (after a tap, so that no mouse events follow;
 * after a drag, it does not).  SDL reads nothing else of them.  Every event
 * SDL takes wakes the frames, which sleep while the run is paused, so that
 * input still takes its sample.  (JavaScript, which clang-format would
 * break.) */
// clang-format off
EM_JS(void, shape_listeners, (bool on), {
	const targets = [window, document, Module.canvas];
	if (!on) {
		for (const target of targets)
			delete target.addEventListener;
		return;
	}
	const copy = (e, cancel) => SDL.receiveEvent({
		type: e.type, touches: e.touches, changedTouches: e.changedTouches, pageX: e.pageX,
		pageY: e.pageY, deltaX: e.deltaX, deltaY: e.deltaY, deltaMode: e.deltaMode, detail: e.detail,
		wheelDelta: e.wheelDelta, preventDefault: cancel
	});
	const passive = (e) => copy(e, () => {});
	const ending = (e) => copy(e, () => { if (e.cancelable) e.preventDefault(); });
	const waking = (listener) => function(e) {
		listener.call(this, e);
		if (Module.quorvelPace)
			Module.quorvelPace.poke();
	};
	const scrolling = ["touchstart", "touchmove", "wheel", "mousewheel", "DOMMouseScroll"];
	const add = EventTarget.prototype.addEventListener;
	for (const target of targets)
		target.addEventListener = function(type, listener, options) {
			if (type === "unload")
				return;
			if (scrolling.includes(type))
				return add.call(this, type, waking(passive), {capture: options === true, passive: true});
			return add.call(this, type, waking(type === "touchend" ? ending : listener), options);
		};
});
// clang-format on

// The page's hook for the strip's texts and where the trail landed, as
// pairs of a column and 1 for inside, where the page has one.
EM_JS(void, hand_over, (const char *estimate, const char *tally, const int *landed, int count), {
	if (!Module.quorvelStrip)
		return;
	const pairs = HEAP32.subarray(landed >> 2, (landed >> 2) + 2 * count);
	const trail = [];
	for (let i = 0; i < pairs.length; i += 2)
		trail.push({x : pairs[i], inside : Boolean(pairs[i + 1])});
	Module.quorvelStrip(UTF8ToString(estimate), UTF8ToString(tally), trail);
});

// The trail's samples as the step drawn whole drew them, oldest first; the
// placeholders of a young run lie off the board and are left out.
void hand_over_strip(const char *estimate, const char *tally)
{
	int landed[2 * trail_length];
	int count = 0;
	for (const Point p : drawn)
		if (p.x >= 0) {
			landed[2 * count] = p.x;
			landed[2 * count + 1] = inside_circle(p);
			count++;
		}
	hand_over(estimate, tally, landed, count);
}

} // namespace

extern "C" {

int quorvel_init(Uint32 flags)
{
	if (sdl_started)
		return 0;
	shape_listeners(true);
	const int result = SDL_Init(flags);
	shape_listeners(false);
	sdl_started = result == 0;
	return result;
}

// The browser's SDL cannot be shut down; the page may start the program again.
void quorvel_quit(void)
{
	quorvel_frames_ended();
}

SDL_TimerID quorvel_add_timer(Uint32 interval, SDL_TimerCallback callback, void *param)
{
	timer = Timer{callback, param, rounded(interval), 0};
	quorvel_frames_pace(timer.interval, most_ticks_queued);
	return 1;
}

SDL_bool quorvel_remove_timer(SDL_TimerID /*id*/)
{
	timer = Timer{};
	return SDL_TRUE;
}

// Ticks are the only events pushed, so the queue of them is a count.
int quorvel_push_event(SDL_Event *ev)
{
	if (ev->type != SDL_USEREVENT)
		return SDL_PushEvent(ev);
	timer.queued++;
	return 1;
}

/* What is due, into the queue, as SDL's pump moves the display's events in. */
void quorvel_pump_events(void)
{
	if (!browser_event())
		tick_due();
}

// Ticks alone, or every event the queue holds.
int quorvel_peep_events(SDL_Event * /*events*/, int n, SDL_eventaction /*action*/, Uint32 type)
{
	const int waiting = timer.queued + (type != SDL_USEREVENT && held.waiting ? 1 : 0);
	return std::min(waiting, n);
}

/* The browser's own events first, then the ticks the frame owes, each run
 * as the timer would and taken at once; between frames the browser gets its
 * thread back, to paint and to take input. */
int quorvel_wait_event(SDL_Event *ev)
{
	for (;;) {
		if (browser_event()) {
			*ev = held.event;
			held.waiting = false;
			return 1;
		}
		if (tick_due()) {
			timer.queued--;
			*ev = SDL_Event{};
			ev->type = SDL_USEREVENT;
			return 1;
		}
		if (!next_frame()) {
			close_request(ev);
			return 1;
		}
	}
}

/* Locked once and for good: SDL_gfx's own locks of the screen stop below,
 * and the frames show its pixels as they are.  Every pixel is the program's
 * own drawing, so the canvas is never read back.  A run after the first
 * gets the same screen, whose old picture must go even before a step. */
SDL_Surface *quorvel_set_video_mode(int width, int height, int depth, Uint32 flags)
{
	if (screen != nullptr && screen->w == width && screen->h == height) {
		frame.changed = true;
		return screen;
	}
	// An opaque canvas, made before SDL asks for one and so the one it gets:
	// the browser then puts the picture on screen as it is, with no alpha to
	// multiply in or blend, which a hundred pictures a second notice.
	EM_ASM(SDL.defaults.discardOnLock = true; SDL.defaults.opaqueFrontBuffer = false;
	       Module.canvas.getContext("2d", {alpha : false}););
	shape_listeners(true);
	screen = SDL_SetVideoMode(width, height, depth, flags);
	shape_listeners(false);
	if (screen != nullptr) {
		SDL_LockSurface(screen);
		quorvel_frames_show(screen->pixels, screen->w, screen->h);
	}
	return screen;
}

int quorvel_flip(SDL_Surface * /*surface*/)
{
	frame.changed = true;
	return 0;
}

/* Emscripten's own mapping, which is the same for every format, without the
 * call out to JavaScript: SDL_gfx asks for it at every line of every disc. */
Uint32 quorvel_map_rgba(const SDL_PixelFormat * /*format*/, Uint8 r, Uint8 g, Uint8 b, Uint8 a)
{
	return Uint32{r} | Uint32{g} << 8 | Uint32{b} << 16 | Uint32{a} << 24;
}

int quorvel_lock_surface(SDL_Surface *surface)
{
	return surface == screen ? 0 : SDL_LockSurface(surface);
}

void quorvel_unlock_surface(SDL_Surface *surface)
{
	if (surface != screen)
		SDL_UnlockSurface(surface);
}

/* A software blit of 32-bit pixels, blended by the source's alpha, within
 * the destination's clipping rectangle.  The pixels are taken apart and put
 * together here, by the formats' masks: the browser's SDL_GetRGB and
 * SDL_MapRGBA are calls out to JavaScript, too dear for every pixel of the
 * strip's text at every step, a hundred times a frame at the top speed. */
int quorvel_upper_blit(SDL_Surface *src, SDL_Rect *srect, SDL_Surface *dst, SDL_Rect *drect)
{
	const SDL_Rect from = srect != nullptr ? *srect : SDL_Rect{0, 0, src->w, src->h};
	const int x0 = drect != nullptr ? drect->x : 0;
	const int y0 = drect != nullptr ? drect->y : 0;
	const SDL_Rect &clip = dst->clip_rect;
	const SDL_PixelFormat &sf = *src->format;
	const SDL_PixelFormat &df = *dst->format;
	const int left = std::max(0, clip.x - x0);
	const int right = std::min<int>(from.w, clip.x + clip.w - x0);
	const int top = std::max(0, clip.y - y0);
	const int bottom = std::min<int>(from.h, clip.y + clip.h - y0);
	for (int y = top; y < bottom; y++)
		for (int x = left; x < right; x++) {
			const Uint32 p = *pixel_at(src, from.x + x, from.y + y);
			const Uint8 a = sf.Amask != 0 ? channel(p, sf.Amask) : opaque_alpha;
			if (a == 0)
				continue;
			Uint32 *q = pixel_at(dst, x0 + x, y0 + y);
			const Uint8 r = blend(channel(p, sf.Rmask), channel(*q, df.Rmask), a);
			const Uint8 g = blend(channel(p, sf.Gmask), channel(*q, df.Gmask), a);
			const Uint8 b = blend(channel(p, sf.Bmask), channel(*q, df.Bmask), a);
			*q = placed(r, df.Rmask) | placed(g, df.Gmask) | placed(b, df.Bmask) | df.Amask;
		}
	return 0;
}

/* The strip's two texts, known by where the scene puts them, estimate first
 * and tally last in every step, go on to the page once the tally is drawn,
 * with where the trail landed. */
int quorvel_string_rgba(SDL_Surface *dst, Sint16 x, Sint16 y, const char *s, Uint8 r, Uint8 g, Uint8 b,
                        Uint8 a)
{
	if (dst == screen && y == text_y && x == estimate_x)
		std::snprintf(strip_estimate, sizeof strip_estimate, "%s", s);
	else if (dst == screen && y == text_y && x == tally_x)
		hand_over_strip(strip_estimate, s);
	return stringRGBA(dst, x, y, s, r, g, b, a);
}

// The discs drawn on the screen, the newest ten kept as the trail keeps them.
int quorvel_filled_circle_rgba(SDL_Surface *dst, Sint16 x, Sint16 y, Sint16 rad, Uint8 r, Uint8 g, Uint8 b,
                               Uint8 a)
{
	if (dst == screen) {
		shift(drawn);
		drawn[trail_length - 1] = Point{x, y};
	}
	return filledCircleRGBA(dst, x, y, rad, r, g, b, a);
}

} // extern "C"
