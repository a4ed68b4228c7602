// The built program in a real X server, seen and used from outside.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <thread>

#include "strip.hpp"
#include "xserver.hpp"

using namespace std::chrono_literals;

namespace
{

constexpr Rgb newest{253, 10, 10};

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

// One program in its own X server; extra holds changes to its environment.
struct Running {
	XServer x;
	Child program;
	Window window = 0;

	explicit Running(std::vector<EnvChange> extra = {})
	    : program({QUORVEL_BIN}, on_display(x, std::move(extra)))
	{
		const auto w = x.find_window("Quorvel", 5s);
		if (!w)
			throw std::runtime_error("no window titled Quorvel: " + program.stderr_text());
		window = *w;
	}

	// The tally gained over a while of running, during which action runs,
	// read from pictures taken with the program stopped.
	unsigned long long samples_over(std::chrono::milliseconds awake, const std::function<void()> &action)
	{
		program.signal(SIGSTOP);
		std::this_thread::sleep_for(50ms);
		const Strip before = strip_of(x.screenshot(window));
		program.signal(SIGCONT);
		const auto end = std::chrono::steady_clock::now() + awake;
		action();
		std::this_thread::sleep_until(end);
		program.signal(SIGSTOP);
		std::this_thread::sleep_for(50ms);
		const Strip after = strip_of(x.screenshot(window));
		program.signal(SIGCONT);
		return after.total - before.total;
	}
};

} // namespace

TEST(EndToEnd, WindowShowsFrameTrailAndStrip)
{
	Running r;
	XWindowAttributes a;
	XGetWindowAttributes(r.x.display(), r.window, &a);
	EXPECT_EQ(a.width, 400);
	EXPECT_EQ(a.height, 420);
	EXPECT_EQ(window_title(r.x.display(), r.window), "Quorvel");

	std::this_thread::sleep_for(1s);
	// The old SDL 1.2 sets the icon title too, just after the title; the
	// compat one has none to set.
	const SDL_version *sdl = SDL_Linked_Version();
	const std::string icon = icon_title(r.x.display(), r.window);
	if (sdl->patch < 50)
		EXPECT_EQ(icon, "Quorvel") << "SDL 1.2." << int{sdl->patch};
	else
		EXPECT_TRUE(icon.empty() || icon == "Quorvel") << icon;
	const Screenshot first = r.x.screenshot(r.window);
	bool saw_newest = false;
	for (int y = 0; y <= 400; y++)
		for (int x = 0; x < 400; x++) {
			const Rgb c = first.at(x, y);
			saw_newest = saw_newest || c == newest;
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
	EXPECT_GT(strip_of(r.x.screenshot(r.window)).total, s1.total);
}

// Keys (Escape too) and pointer motion each take a sample on top of the ticks,
// and none of them ends the program.
TEST(EndToEnd, InputTakesSamplesAndNeverEnds)
{
	Running r;
	r.x.focus(r.window);
	std::this_thread::sleep_for(300ms);
	constexpr auto awake = 800ms;
	const char *const keys[] = {"Escape", "q", "space", "Return", "a", "F1", "Up", "x", "1", "BackSpace"};
	constexpr int moves = 30;
	const auto ticks_only = r.samples_over(awake, [] {});
	const auto with_input = r.samples_over(awake, [&] {
		for (int i = 0; i < moves; i++) {
			r.x.move_pointer(100 + 5 * i, 150 + 3 * i);
			std::this_thread::sleep_for(3ms);
		}
		for (const char *k : keys)
			r.x.press_key(k);
	});
	// Every key is a press and a release; allow for jitter in the ticks.
	const auto events = 2 * std::size(keys) + moves;
	EXPECT_GE(with_input, ticks_only + events - 10)
	        << "ticks alone " << ticks_only << ", with input " << with_input;
	EXPECT_FALSE(r.program.wait(500ms).has_value());
}

// However the end is asked for, and however slow the steps, the program
// ends within a second with status 0.
TEST(EndToEnd, ClosingEndsWithStatusZero)
{
	struct Case {
		const char *how;
		bool slow;
	};
	const Case cases[] = {
	        {"close", false}, {"SIGTERM", false}, {"SIGINT", false}, {"close", true}, {"SIGTERM", true},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(std::string(c.how) + (c.slow ? ", steps 15 ms slower" : ""));
		std::vector<EnvChange> env;
		if (c.slow)
			env.emplace_back("LD_PRELOAD", SLOW_FLIP_LIB);
		Running r(env);
		// Slow steps fall behind the ticks; give a queue time to fill.
		std::this_thread::sleep_for(c.slow ? 4s : 1s);
		if (std::string(c.how) == "close")
			r.x.request_close(r.window);
		else
			r.program.signal(std::string(c.how) == "SIGTERM" ? SIGTERM : SIGINT);
		const auto status = r.program.wait(1s);
		ASSERT_TRUE(status.has_value()) << "still running a second later";
		EXPECT_EQ(*status, 0) << r.program.stderr_text();
	}
}
