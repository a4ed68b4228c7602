// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The browser's SDL 1.2, as Emscripten provides it, differs from the desktop's
 * where the program relies on it: it has no SDL_WaitEvent, its timer fires
 * once, SDL_PeepEvents cannot peek, SDL_PumpEvents handles every queued
 * event over again, SDL_MapRGBA, which SDL_gfx asks for every line it fills,
 * is a call out to JavaScript, every surface lives in a canvas whose
 * pixels are copied in and out by each outermost lock, and blits go canvas to
 * canvas, past the locked pixels.  This header, which CMakeLists.txt has the
 * web build include ahead of every file of the program and of SDL_gfx,
 * routes those calls to sdl_web.cpp, so the program's own code is the
 * desktop's, unchanged.  The strip's texts pass through it too, on their way
 * to SDL_gfx, so that the page can offer them as text, and so do the trail's
 * discs, which say where the newest samples landed, for the page's sound;
 * and so does the program's shutdown, after which the page may start it
 * again.
 */
#pragma once

#include <SDL.h>

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#ifdef __cplusplus
extern "C" {
#endif

int quorvel_init(Uint32 flags);
void quorvel_quit(void);
int quorvel_wait_event(SDL_Event *ev);
SDL_TimerID quorvel_add_timer(Uint32 interval, SDL_TimerCallback callback, void *param);
SDL_bool quorvel_remove_timer(SDL_TimerID id);
void quorvel_pump_events(void);
int quorvel_peep_events(SDL_Event *events, int n, SDL_eventaction action, Uint32 type);
int quorvel_push_event(SDL_Event *ev);
SDL_Surface *quorvel_set_video_mode(int width, int height, int depth, Uint32 flags);
int quorvel_flip(SDL_Surface *screen);
Uint32 quorvel_map_rgba(const SDL_PixelFormat *format, Uint8 r, Uint8 g, Uint8 b, Uint8 a);
int quorvel_lock_surface(SDL_Surface *surface);
void quorvel_unlock_surface(SDL_Surface *surface);
int quorvel_upper_blit(SDL_Surface *src, SDL_Rect *srect, SDL_Surface *dst, SDL_Rect *drect);
int quorvel_string_rgba(SDL_Surface *dst, Sint16 x, Sint16 y, const char *s, Uint8 r, Uint8 g, Uint8 b,
                        Uint8 a);
int quorvel_filled_circle_rgba(SDL_Surface *dst, Sint16 x, Sint16 y, Sint16 rad, Uint8 r, Uint8 g, Uint8 b,
                               Uint8 a);

#ifdef __cplusplus
}
#endif

// The layer itself calls the real ones.
#ifndef QUORVEL_WEB_LAYER
#define SDL_Init quorvel_init
#define SDL_Quit quorvel_quit
#define SDL_WaitEvent quorvel_wait_event
#define SDL_AddTimer quorvel_add_timer
#define SDL_RemoveTimer quorvel_remove_timer
#define SDL_PumpEvents quorvel_pump_events
#define SDL_PeepEvents(events, n, action, type) quorvel_peep_events(events, n, action, type)
#define SDL_PushEvent quorvel_push_event
#define SDL_SetVideoMode quorvel_set_video_mode
#define SDL_Flip quorvel_flip
#define SDL_MapRGBA quorvel_map_rgba
#define SDL_LockSurface quorvel_lock_surface
#define SDL_UnlockSurface quorvel_unlock_surface
#define SDL_UpperBlit quorvel_upper_blit
// SDL_gfx's own definition keeps its name (its files are built with
// QUORVEL_WEB_SDL_GFX); the program's calls come here.
#ifndef QUORVEL_WEB_SDL_GFX
#define stringRGBA quorvel_string_rgba
#define filledCircleRGBA quorvel_filled_circle_rgba
#endif
// SDL's own string and environment helpers are not there: the C library's are.
#define SDL_getenv getenv
#define SDL_putenv putenv
#define SDL_strlen strlen
#define SDL_strchr strchr
#define SDL_strcasecmp strcasecmp
#define SDL_strncasecmp strncasecmp
// SDL 1.2 selects events by a mask of their types; here a type stands for
// itself: the ticks are counted alone, and any other mask counts them all.
#define SDL_EVENTMASK(type) (type)
#endif
