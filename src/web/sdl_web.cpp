// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The web build's own SDL calls, where Emscripten's SDL 1.2 lacks or differs
 * from the desktop's (see sdl_web.hpp).
 *
 * Design note.  The program waits for events; the browser must get its thread
 * back to paint and to deliver input.  With Asyncify, quorvel_wait_event
 * sleeps the way the desktop's SDL_WaitEvent blocks, and runs the tick timer
 * itself: every 10 ms, SDL 1.2's granularity, it calls the program's callback,
 * whose pushed tick it counts here, since Emscripten's queue cannot be peeked.
 * A hidden tab's timers slow to a crawl; coming back, the timer runs at most
 * a queue's worth of missed ticks and forgets the rest, so nothing piles up.
 *
 * Drawing: the screen stays locked, so SDL_gfx draws straight into the
 * pixels, and each flip hands them to the canvas with one unlock and lock.
 * SDL_gfx's own locks and unlocks of the screen stop here: each outermost
 * pair would copy the whole canvas, and its circle unlocks twice, which
 * would end the screen's lock before the text is drawn.
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
 * Sections: constants, state, the timer, events, the screen, blits, the strip.
 */
#define QUORVEL_WEB_LAYER
#include "sdl_web.hpp"

#include <SDL_gfxPrimitives.h>
#include <emscripten.h>

#include <cstdio>

#include "scene.hpp"

namespace
{

constexpr Uint32 granularity_ms = 10; // SDL 1.2's timer rounds to this
constexpr int most_ticks_queued = 16; // a tick queue's worth, as on the desktop
constexpr Uint32 opaque_alpha = 255;
constexpr int estimate_size = 32; // "3.14159265" and room to spare

/* The one timer and the ticks it has pushed: a platform layer's state, like
 * SDL's own, not the program's. */
struct Timer {
	SDL_TimerCallback callback = nullptr;
	void *param = nullptr;
	Uint32 interval = 0;
	Uint32 due = 0;
	int queued = 0;
};
Timer timer;                        // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
SDL_Surface *screen = nullptr;      // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
char strip_estimate[estimate_size]; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

Uint32 rounded(Uint32 ms)
{
	const Uint32 steps = (ms + granularity_ms - 1) / granularity_ms;
	return (steps == 0 ? 1 : steps) * granularity_ms;
}

/* Runs the callback once for each interval that has passed, but never more
 * than a queue's worth at once: after a hidden spell the rest are dropped. */
void run_due_ticks()
{
	if (timer.callback == nullptr)
		return;
	const Uint32 now = SDL_GetTicks();
	for (int run = 0; static_cast<Sint32>(now - timer.due) >= 0; run++) {
		if (run == most_ticks_queued) {
			timer.due = now + timer.interval;
			break;
		}
		const Uint32 next = timer.callback(timer.interval, timer.param);
		if (next == 0) {
			timer.callback = nullptr;
			return;
		}
		timer.interval = rounded(next);
		timer.due += timer.interval;
	}
}

bool sdl2_only(Uint32 type)
{
	return type == SDL_MOUSEWHEEL || type == SDL_TEXTINPUT || type == SDL_TEXTEDITING ||
	       (type >= SDL_FINGERDOWN && type <= SDL_FINGERMOTION);
}

Uint32 until_due()
{
	if (timer.callback == nullptr)
		return granularity_ms;
	const auto left = static_cast<Sint32>(timer.due - SDL_GetTicks());
	return left > 0 ? static_cast<Uint32>(left) : 0;
}

Uint32 shift_of(Uint32 mask)
{
	Uint32 shift = 0;
	while (mask != 0 && (mask & 1) == 0) {
		mask >>= 1;
		shift++;
	}
	return shift;
}

Uint8 channel(Uint32 pixel, Uint32 mask)
{
	return static_cast<Uint8>((pixel & mask) >> shift_of(mask));
}

Uint8 blend(Uint8 over, Uint8 under, Uint8 alpha)
{
	return static_cast<Uint8>((over * alpha + under * (opaque_alpha - alpha)) / opaque_alpha);
}

Uint32 *pixel_at(SDL_Surface *s, int x, int y)
{
	return reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch) + x;
}

/* While SDL sets up, the listeners it adds to the window and the canvas
 * pass through here.  The unload listener is dropped.  Touch, scroll and
 * wheel events reach SDL as copies, passively, so that the browser never
 * waits on the program to scroll; a touch's end is cancelled only where the
 * browser still allows it (after a tap, so that no mouse events follow; after
 * a drag, it does not).  SDL reads nothing else of them.  (JavaScript, which
 * clang-format would break.) */
// clang-format off
EM_JS(void, shape_listeners, (bool on), {
	const targets = [window, Module.canvas];
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
	const scrolling = ["touchstart", "touchmove", "wheel", "mousewheel", "DOMMouseScroll"];
	const add = EventTarget.prototype.addEventListener;
	for (const target of targets)
		target.addEventListener = function(type, listener, options) {
			if (type === "unload")
				return;
			if (scrolling.includes(type))
				return add.call(this, type, passive, {capture: options === true, passive: true});
			return add.call(this, type, type === "touchend" ? ending : listener, options);
		};
});
// clang-format on

// The page's hook for the strip's texts, where the page has one.
EM_JS(void, hand_over_strip, (const char *estimate, const char *tally), {
	if (Module.quorvelStrip)
		Module.quorvelStrip(UTF8ToString(estimate), UTF8ToString(tally));
});

} // namespace

extern "C" {

int quorvel_init(Uint32 flags)
{
	shape_listeners(true);
	const int result = SDL_Init(flags);
	shape_listeners(false);
	return result;
}

SDL_TimerID quorvel_add_timer(Uint32 interval, SDL_TimerCallback callback, void *param)
{
	timer = Timer{callback, param, rounded(interval), SDL_GetTicks() + rounded(interval), 0};
	return 1;
}

SDL_bool quorvel_remove_timer(SDL_TimerID /*id*/)
{
	timer.callback = nullptr;
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

int quorvel_peep_events(SDL_Event * /*events*/, int n, SDL_eventaction /*action*/, Uint32 type)
{
	return type == SDL_USEREVENT ? (timer.queued < n ? timer.queued : n) : 0;
}

/* The browser's own events first, then the ticks; between them the browser
 * gets its thread back, to paint and to take input. */
int quorvel_wait_event(SDL_Event *ev)
{
	for (;;) {
		run_due_ticks();
		if (SDL_PollEvent(ev) != 0) {
			if (sdl2_only(ev->type))
				continue;
			return 1;
		}
		if (timer.queued > 0) {
			timer.queued--;
			*ev = SDL_Event{};
			ev->type = SDL_USEREVENT;
			emscripten_sleep(0);
			return 1;
		}
		emscripten_sleep(until_due());
	}
}

/* Locked once, and unlocked only for a flip, which hands the pixels to the
 * canvas; SDL_gfx's own locks of the screen stop below.  Every pixel is the
 * program's own drawing, so the canvas is never read back. */
SDL_Surface *quorvel_set_video_mode(int width, int height, int depth, Uint32 flags)
{
	EM_ASM(SDL.defaults.discardOnLock = true; SDL.defaults.opaqueFrontBuffer = false;);
	shape_listeners(true);
	screen = SDL_SetVideoMode(width, height, depth, flags);
	shape_listeners(false);
	if (screen != nullptr)
		SDL_LockSurface(screen);
	return screen;
}

int quorvel_flip(SDL_Surface *surface)
{
	SDL_UnlockSurface(surface);
	SDL_LockSurface(surface);
	return 0;
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
 * the destination's clipping rectangle. */
int quorvel_upper_blit(SDL_Surface *src, SDL_Rect *srect, SDL_Surface *dst, SDL_Rect *drect)
{
	const SDL_Rect from = srect != nullptr ? *srect : SDL_Rect{0, 0, src->w, src->h};
	const int x0 = drect != nullptr ? drect->x : 0;
	const int y0 = drect != nullptr ? drect->y : 0;
	const SDL_Rect &clip = dst->clip_rect;
	const SDL_PixelFormat &sf = *src->format;
	for (int y = 0; y < from.h; y++)
		for (int x = 0; x < from.w; x++) {
			const int dx = x0 + x;
			const int dy = y0 + y;
			if (dx < clip.x || dy < clip.y || dx >= clip.x + clip.w || dy >= clip.y + clip.h)
				continue;
			const Uint32 p = *pixel_at(src, from.x + x, from.y + y);
			const Uint8 a = sf.Amask != 0 ? channel(p, sf.Amask) : opaque_alpha;
			if (a == 0)
				continue;
			Uint32 *q = pixel_at(dst, dx, dy);
			Uint8 r = 0;
			Uint8 g = 0;
			Uint8 b = 0;
			SDL_GetRGB(*q, dst->format, &r, &g, &b);
			*q = SDL_MapRGBA(dst->format, blend(channel(p, sf.Rmask), r, a),
			                 blend(channel(p, sf.Gmask), g, a), blend(channel(p, sf.Bmask), b, a),
			                 opaque_alpha);
		}
	return 0;
}

/* The strip's two texts, known by where the scene puts them, estimate first
 * and tally last in every step, go on to the page once the tally is drawn. */
int quorvel_string_rgba(SDL_Surface *dst, Sint16 x, Sint16 y, const char *s, Uint8 r, Uint8 g, Uint8 b,
                        Uint8 a)
{
	if (dst == screen && y == text_y && x == estimate_x)
		std::snprintf(strip_estimate, sizeof strip_estimate, "%s", s);
	else if (dst == screen && y == text_y && x == tally_x)
		hand_over_strip(strip_estimate, s);
	return stringRGBA(dst, x, y, s, r, g, b, a);
}

} // extern "C"
