// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// The built program on a real desktop, seen and used from outside.
//
// QUORVEL_DESKTOP picks the desktop, "x11" (the default), "wayland" or "both",
// and QUORVEL_COMMAND the command that runs the program (see process.hpp), so
// the same checks apply to a build that runs otherwise: under Wine, or as a
// page in a browser, whose picture QUORVEL_PICTURE places in its window and
// whose window QUORVEL_TITLE names.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "desktop.hpp"
#include "sdl_stack.hpp"
#include "strip.hpp"

using namespace std::chrono_literals;

namespace
{

Strip strip_of(const Screenshot &shot)
{
	const auto s = read_strip(shot);
	if (!s)
		throw std::runtime_error("the strip holds no tally");
	return *s;
}

bool ramp_colour(const Rgb &c)
{
	for (int i = 0; i < 10; i++)
		if (c == ramp(i))
			return true;
	return false;
}

std::string desktop_kind()
{
	const char *kind = std::getenv("QUORVEL_DESKTOP");
	return kind != nullptr ? kind : "x11";
}

// One program on a desktop of its own, or on one it shares with others;
// extra holds changes to its environment.
struct Running {
	std::shared_ptr<Desktop> desk;
	Child program;
	WindowId window = 0;

	explicit Running(const std::vector<EnvChange> &extra = {})
	    : Running(make_desktop(desktop_kind()), extra)
	{
		await_window();
	}
	// Started, but not yet looked for, so that several start together.
	explicit Running(std::shared_ptr<Desktop> on, const std::vector<EnvChange> &extra = {})
	    : desk(std::move(on)), program(program_command(), desk->environment(extra))
	{
	}
	void await_window()
	{
		const auto w = desk->find_window(window_title(), program.pid(), std::chrono::seconds{10});
		if (!w)
			throw std::runtime_error("no window titled " + window_title() + ": " +
			                         program.stderr_text());
		window = *w;
		// A window shows before its first picture, a browser's named after
		// the page before the program has even started.
		poll(std::chrono::seconds{10}, 20ms, [&] { return read_strip(desk->screenshot(window)); });
	}

	// The tally once it stops growing: the same in two pictures 300 ms apart.
	unsigned long long settled() const
	{
		std::optional<unsigned long long> last;
		poll(std::chrono::seconds{20}, 300ms, [&] {
			const auto now = strip_of(desk->screenshot(window)).total;
			return std::exchange(last, now) == now;
		});
		return *last;
	}

	// The tally gained over a while of running, during which action runs,
	// read from pictures taken with the program stopped.
	unsigned long long samples_over(std::chrono::milliseconds awake,
	                                const std::function<void()> &action) const
	{
		program.signal(SIGSTOP);
		std::this_thread::sleep_for(50ms);
		const Strip before = strip_of(desk->screenshot(window));
		program.signal(SIGCONT);
		const auto end = std::chrono::steady_clock::now() + awake;
		action();
		std::this_thread::sleep_until(end);
		program.signal(SIGSTOP);
		std::this_thread::sleep_for(50ms);
		const Strip after = strip_of(desk->screenshot(window));
		program.signal(SIGCONT);
		return after.total - before.total;
	}
};

} // namespace

TEST(EndToEnd, WindowShowsFrameTrailAndStrip)
{
	Running r;
	// Found by one name (WM_NAME under X11), shown by another.
	EXPECT_EQ(r.desk->title(r.window), window_title());

	std::this_thread::sleep_for(1s);
	// The old SDL 1.2 sets the icon title too, just after the title; the
	// compat one has none to set, and Wayland knows no icon titles.
	const SDL_version *sdl = SDL_Linked_Version();
	if (const auto icon = r.desk->icon_title(r.window)) {
		if (sdl->patch < 50)
			EXPECT_EQ(*icon, window_title()) << "SDL 1.2." << int{sdl->patch};
		else
			EXPECT_TRUE(icon->empty() || *icon == window_title()) << *icon;
	}
	// Desktops tie a running window to its menu entry by these names.
	if (runs_program_itself()) {
		const auto names = r.desk->class_names(r.window);
		EXPECT_FALSE(names.empty());
		for (const std::string &name : names)
			EXPECT_EQ(name, entry_value("Desktop Entry", "StartupWMClass"));
	}
	const Screenshot first = r.desk->screenshot(r.window);
	ASSERT_EQ(first.width(), 400);
	ASSERT_EQ(first.height(), 420);
	bool saw_newest = false;
	for (int y = 0; y <= 400; y++)
		for (int x = 0; x < 400; x++) {
			const Rgb c = first.at(x, y);
			saw_newest = saw_newest || c == ramp(9);
			if (frame_pixel(x, y)) {
				ASSERT_TRUE(c == white || ramp_colour(c)) << x << "," << y;
			}
		}
	EXPECT_TRUE(saw_newest);
	for (int y = 401; y < 420; y++)
		for (int x = 0; x < 400; x++)
			ASSERT_TRUE(first.at(x, y) == black || first.at(x, y) == red) << x << "," << y;

	const Strip s1 = strip_of(first);
	char want[32];
	std::snprintf(want, sizeof want, "%.8f",
	              static_cast<double>(s1.inside) / static_cast<double>(s1.total) * 4.0);
	EXPECT_EQ(s1.estimate, want);
	EXPECT_GT(s1.total, 20U);
	EXPECT_LE(s1.inside, s1.total);

	std::this_thread::sleep_for(300ms);
	EXPECT_GT(strip_of(r.desk->screenshot(r.window)).total, s1.total);
}

// The menu entry's action for a projector: the compat library draws every
// pixel as a sharp 2 x 2 square in a window twice the size (the old SDL 1.2
// knows no such setting).
TEST(EndToEnd, LargeWindowActionScalesSharply)
{
	if (!runs_program_itself() || SDL_Linked_Version()->patch < 50)
		GTEST_SKIP() << "only the SDL 1.2 compat library scales its window";
	Running r(action_settings("large-window"));
	std::this_thread::sleep_for(500ms);
	const Screenshot big = r.desk->screenshot(r.window);
	ASSERT_EQ(big.width(), 2 * 400);
	ASSERT_EQ(big.height(), 2 * 420);
	for (int y = 0; y < 420; y++)
		for (int x = 0; x < 400; x++) {
			const Rgb c = big.at(2 * x, 2 * y);
			ASSERT_TRUE(c == big.at(2 * x + 1, 2 * y) && c == big.at(2 * x, 2 * y + 1) &&
			            c == big.at(2 * x + 1, 2 * y + 1))
			        << "blurred at " << x << "," << y;
		}
	EXPECT_TRUE(read_strip(big).has_value());
}

// Keys (Escape too) and pointer motion each take one sample, and none of them
// ends the program.  With the tick held, a key's press, its release and a move
// inside the window are one event each (entering it is one more); a browser
// or Wine cannot be held, and there input must beat the ticks alone.
TEST(EndToEnd, InputTakesSamplesAndNeverEnds)
{
	const bool held = runs_program_itself();
	Running r(held ? std::vector<EnvChange>{{"LD_PRELOAD", HELD_TICK_LIB}} : std::vector<EnvChange>{});
	// SDL 2 (2.26 and 2.32 alike) dies on a key of a keyboard that appears
	// while its window is open, as wtype's does; SDL 3 does not.
	if (runs_program_itself() && on_sdl2() && std::string(r.desk->kind()) == "wayland")
		GTEST_SKIP() << sdl_stack() << " crashes on the first key typed under Wayland";
	r.desk->focus(r.window);
	r.desk->move_pointer(r.window, 95, 145);
	const std::vector<const char *> keys{"Escape", "q",  "space", "Return", "a",
	                                     "F1",     "Up", "x",     "1",      "BackSpace"};
	int moves = 0;
	const auto input = [&] {
		for (int i = 0; i < 30 && r.desk->move_pointer(r.window, 100 + 5 * i, 150 + 3 * i); i++) {
			moves++;
			// Windows keeps only the latest of the moves it has not yet handed out.
			std::this_thread::sleep_for(20ms);
		}
		r.desk->press_keys(keys);
	};
	if (held) {
		const auto before = r.settled();
		input();
		EXPECT_EQ(r.settled() - before, 2 * keys.size() + moves) << sdl_stack();
	} else {
		std::this_thread::sleep_for(300ms);
		constexpr auto awake = 1000ms;
		const auto ticks_only = r.samples_over(awake, [] {});
		const auto with_input = r.samples_over(awake, input);
		// Allow for jitter in the ticks.
		EXPECT_GE(with_input, ticks_only + 2 * keys.size() + moves - 10)
		        << "ticks alone " << ticks_only << ", with input " << with_input;
	}
	EXPECT_FALSE(r.program.wait(500ms).has_value());
}

// However the end is asked for, however slow the flips and fast the pointer
// (each move still one sample), the program ends with status 0 within what any
// machine manages, sanitized or Wine's (make bench measures how soon).  The
// preloads and signals need the program itself, not a command that runs it.
TEST(EndToEnd, ClosingEndsWithStatusZero)
{
	struct Case {
		const char *how;
		bool slow;
		bool flood;
	};
	const Case cases[] = {
	        {"close", false, false}, {"SIGTERM", false, false}, {"SIGINT", false, false},
	        {"close", true, false},  {"SIGTERM", true, false},  {"close", true, true},
	};
	constexpr auto allowed = 5s;
	for (const Case &c : cases) {
		if (!runs_program_itself() && (c.slow || std::string(c.how) != "close"))
			continue;
		SCOPED_TRACE(std::string(c.how) + (c.slow ? ", flips 15 ms slower" : "") +
		             (c.flood ? ", the pointer moved every 2 ms" : ""));
		std::vector<EnvChange> env;
		if (c.slow)
			env.emplace_back("LD_PRELOAD",
			                 std::string(SLOW_FLIP_LIB) + (c.flood ? " " HELD_TICK_LIB : ""));
		Running r(env);
		int moves = 0;
		if (!c.flood) {
			// Slow flips let ticks queue; give a queue time to fill.
			std::this_thread::sleep_for(c.slow ? 4s : 1s);
		} else if (r.desk->move_pointer(r.window, 10, 10)) {
			const auto before = r.settled();
			flood_pointer(*r.desk, r.window, r.program, 1s, moves);
			EXPECT_EQ(r.settled() - before, moves);
			flood_pointer(*r.desk, r.window, r.program, 500ms, moves);
		} else {
			continue; // no pointer on this desktop
		}
		if (std::string(c.how) == "close")
			r.desk->request_close(r.window);
		else
			r.program.signal(std::string(c.how) == "SIGTERM" ? SIGTERM : SIGINT);
		const auto status = c.flood ? flood_pointer(*r.desk, r.window, r.program, allowed, moves)
		                            : r.program.wait(allowed);
		ASSERT_TRUE(status.has_value()) << "still running " << allowed.count() << " s later";
		EXPECT_EQ(*status, 0) << r.program.stderr_text();
	}
}

// Two programs started together draw different samples: the dots on their
// boards overlap about as often as chance puts two independent runs' dots in
// one place, where one seed for both would overlap them nearly all.
TEST(EndToEnd, RunsStartedTogetherDiffer)
{
	const std::shared_ptr<Desktop> desk = make_desktop(desktop_kind());
	Running a(desk);
	Running b(desk);
	a.await_window();
	b.await_window();
	desk->move_window(b.window, 420, 0); // side by side, so neither hides the other
	std::this_thread::sleep_for(2s);
	a.program.signal(SIGSTOP);
	b.program.signal(SIGSTOP);
	std::this_thread::sleep_for(50ms);
	const Screenshot sa = desk->screenshot(a.window);
	const Screenshot sb = desk->screenshot(b.window);
	const auto dot = [](const Rgb &c) { return c != black && c != white; };
	long in_a = 0;
	long in_b = 0;
	long in_both = 0;
	long area = 0;
	for (int y = 5; y <= 395; y++)
		for (int x = 5; x <= 395; x++) {
			area++;
			in_a += dot(sa.at(x, y)) ? 1 : 0;
			in_b += dot(sb.at(x, y)) ? 1 : 0;
			in_both += dot(sa.at(x, y)) && dot(sb.at(x, y)) ? 1 : 0;
		}
	const double chance =
	        static_cast<double>(in_a) * static_cast<double>(in_b) / static_cast<double>(area);
	ASSERT_GT(std::min(in_a, in_b), 1000) << "too few dots to tell";
	EXPECT_LT(static_cast<double>(in_both), 4 * chance + 100)
	        << in_a << " and " << in_b << " dot pixels, " << in_both << " in both; chance gives about "
	        << chance;
}
