// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* Figures for one table: the cost of one step on an off-screen surface
 * (Google Benchmark), drawn whole and drawn as a step that will not be seen,
 * then the whole program in a private Xvfb: its pace against the ticks SDL
 * delivers, its CPU and memory, how soon it shows a picture and how soon it
 * ends when asked, also on a slow display with the pointer moving, and what
 * it costs to drain bursts of pointer motion.
 *
 *   bench [STEADY_SECONDS [SOAK_SECONDS]]   (default 10 and 60)
 */
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "canvas.hpp"
#include "scene.hpp"
#include "strip.hpp"
#include "desktop.hpp"
#include "sdl_stack.hpp"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace
{

constexpr long million = 1000000;
constexpr int burst_moves = 120; // within the 128 events SDL 1.2's queue holds
constexpr int bursts = 50;

/* ---- one step's work ---- */

struct World {
	Canvas canvas{window_width, window_height};
	Point points[trail_length];
	Uint64 inside = 0;
	Uint64 total = 0;
	char pitext[pitext_size] = {};
	char stuff[stuff_size] = {};

	World()
	{
		draw_startup(canvas.surface());
		for (Point &p : points)
			p = blank_point();
	}
	void step()
	{
		sample_step(points, &inside, &total);
		draw_step(canvas.surface(), points, inside, total, estimate(inside, total), pitext, stuff);
	}
	void unseen_step()
	{
		sample_step(points, &inside, &total);
		draw_lasting(canvas.surface(), points);
	}
};

// cppcheck-suppress constParameterCallback ; Google Benchmark's signature
void step_fresh(benchmark::State &state)
{
	World w;
	for (auto _ : state)
		w.step();
}

/* A million samples in: the tally is seven digits and the board is covered
 * with dots, as after three hours of watching. */
// cppcheck-suppress constParameterCallback ; Google Benchmark's signature
void step_after_million(benchmark::State &state)
{
	World w;
	for (long i = 0; i < million; i++) {
		sample_step(w.points, &w.inside, &w.total);
		Point_draw(w.canvas.surface(), w.points[trail_length - 1], 0);
	}
	for (auto _ : state)
		w.step();
}

// A step that will not be seen: its sample and its lasting disc.
// cppcheck-suppress constParameterCallback ; Google Benchmark's signature
void step_unseen(benchmark::State &state)
{
	World w;
	for (auto _ : state)
		w.unseen_step();
}

class Collect : public benchmark::BenchmarkReporter
{
public:
	std::map<std::string, double> micros;
	bool ReportContext(const Context &) override { return true; }
	void ReportRuns(const std::vector<Run> &runs) override
	{
		for (const Run &r : runs)
			micros[r.run_name.function_name] = r.GetAdjustedRealTime();
	}
};

/* ---- the whole program ---- */

long proc_field_kb(pid_t pid, const std::string &key)
{
	std::ifstream status("/proc/" + std::to_string(pid) + "/status");
	std::string line;
	while (std::getline(status, line))
		if (line.rfind(key + ":", 0) == 0)
			return std::stol(line.substr(key.size() + 1));
	return -1;
}

// User and system CPU of all the process's threads, in seconds.
double cpu_seconds(pid_t pid)
{
	std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
	std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
	std::istringstream rest(text.substr(text.rfind(')') + 2));
	std::string field;
	double ticks = 0;
	for (int i = 3; i <= 15 && rest >> field; i++)
		if (i == 14 || i == 15)
			ticks += std::stod(field);
	return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The process and all it started, as a browser starts a renderer and more.
std::vector<pid_t> process_tree(pid_t root)
{
	std::map<pid_t, std::vector<pid_t>> children;
	for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
		const std::string name = entry.path().filename();
		if (name.find_first_not_of("0123456789") != std::string::npos)
			continue;
		std::ifstream stat(entry.path() / "stat");
		std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
		if (text.rfind(')') == std::string::npos)
			continue;
		std::istringstream rest(text.substr(text.rfind(')') + 2));
		std::string state;
		pid_t parent = 0;
		if (rest >> state >> parent)
			children[parent].push_back(static_cast<pid_t>(std::stol(name)));
	}
	std::vector<pid_t> tree{root};
	for (size_t i = 0; i < tree.size(); i++)
		for (const pid_t child : children[tree[i]])
			tree.push_back(child);
	return tree;
}

double tree_cpu_seconds(pid_t root)
{
	double total = 0;
	for (const pid_t pid : process_tree(root))
		total += cpu_seconds(pid);
	return total;
}

long tree_field_kb(pid_t root, const std::string &key)
{
	long total = 0;
	for (const pid_t pid : process_tree(root))
		total += std::max(0L, proc_field_kb(pid, key));
	return total;
}

double seconds_since(Clock::time_point t)
{
	return std::chrono::duration<double>(Clock::now() - t).count();
}

struct Figures {
	double first_picture_ms = -1, steps_per_s = -1, ticks_per_s = -1, cpu_percent = -1;
	double peak_rss_mb = -1, rss_growth_kb = -1, exit_ms = -1;
};

Figures measure_program(Desktop &desk, int steady_s, int soak_s, const std::vector<EnvChange> &settings)
{
	Figures f;
	const auto launch = Clock::now();
	Child program(program_command(), desk.environment(settings));
	const auto window = desk.find_window(window_title(), program.pid(), std::chrono::seconds{5});
	if (!window)
		return f;
	while (seconds_since(launch) < 5 && !read_strip(desk.screenshot(*window)))
		std::this_thread::sleep_for(1ms);
	f.first_picture_ms = seconds_since(launch) * 1000;

	std::this_thread::sleep_for(2s);
	const auto soak_start = Clock::now();
	const long rss_start = tree_field_kb(program.pid(), "VmRSS");

	Child probe({TICK_PROBE_BIN, std::to_string(steady_s)}, {});
	const auto before = read_strip(desk.screenshot(*window));
	const double cpu_before = tree_cpu_seconds(program.pid());
	const auto t0 = Clock::now();
	std::this_thread::sleep_for(std::chrono::seconds(steady_s));
	const auto after = read_strip(desk.screenshot(*window));
	const double cpu_after = tree_cpu_seconds(program.pid());
	const double span = seconds_since(t0);
	if (before && after)
		f.steps_per_s = static_cast<double>(after->total - before->total) / span;
	f.cpu_percent = (cpu_after - cpu_before) / span * 100;
	if (probe.wait(5s))
		f.ticks_per_s = std::stod(probe.stderr_text());

	std::this_thread::sleep_until(soak_start + std::chrono::seconds(soak_s));
	f.rss_growth_kb = static_cast<double>(tree_field_kb(program.pid(), "VmRSS") - rss_start);
	f.peak_rss_mb = static_cast<double>(tree_field_kb(program.pid(), "VmHWM")) / 1024;

	const auto asked = Clock::now();
	desk.request_close(*window);
	if (program.wait(5s))
		f.exit_ms = seconds_since(asked) * 1000;
	return f;
}

Figures measure_on(const char *kind, int steady_s, int soak_s, const std::vector<EnvChange> &settings = {})
{
	std::fprintf(stderr, "running the program on %s for %d s...\n", kind, soak_s + 2);
	const auto desk = make_desktop(kind);
	return measure_program(*desk, steady_s, soak_s, settings);
}

/* A slow display, 15 ms a flip, and the pointer moved every 2 ms over the
 * window: how soon a close request sent during the motion ends the program. */
double close_under_flood_ms()
{
	std::fprintf(stderr, "closing the program under a pointer flood...\n");
	const auto desk = make_desktop("x11");
	Child program(program_command(), desk->environment({{"LD_PRELOAD", SLOW_FLIP_LIB}}));
	const auto window = desk->find_window(window_title(), program.pid(), std::chrono::seconds{5});
	int moves = 0;
	if (!window || flood_pointer(*desk, *window, program, std::chrono::seconds{2}, moves))
		return -1;
	const auto asked = Clock::now();
	desk->request_close(*window);
	return flood_pointer(*desk, *window, program, std::chrono::seconds{10}, moves)
	               ? seconds_since(asked) * 1000
	               : -1;
}

std::optional<std::string> setting(const Desktop &desk, const char *name)
{
	for (const auto &[key, value] : desk.settings())
		if (key == name)
			return value;
	return std::nullopt;
}

// The process's CPU, all its threads, to the nanosecond.
double run_ns(pid_t pid)
{
	double total = 0;
	const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
	for (const auto &task : std::filesystem::directory_iterator(tasks)) {
		std::ifstream stat(task.path() / "schedstat");
		double ns = 0;
		if (stat >> ns)
			total += ns;
	}
	return total;
}

double median(std::vector<double> values)
{
	if (values.empty())
		return -1;
	const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
	std::nth_element(values.begin(), middle, values.end());
	return *middle;
}

/* Bursts of pointer motion, each sent while the program is stopped, as a
 * busy machine holds it, so that it finds them all waiting when it goes on:
 * its CPU per event while it drains them, and how soon the picture shows the
 * last, each the median of the bursts. */
struct Drain {
	double cpu_us_per_event = -1, drained_ms = -1;
};
Drain drain_bursts()
{
	std::fprintf(stderr, "draining bursts of pointer motion...\n");
	const auto desk = make_desktop("x11");
	Child program(program_command(), desk->environment());
	const auto window = desk->find_window(window_title(), program.pid(), std::chrono::seconds{5});
	const auto name = setting(*desk, "DISPLAY");
	Display *dpy = name ? XOpenDisplay(name->c_str()) : nullptr;
	if (!window || dpy == nullptr)
		return Drain{};
	int left = 0;
	int top = 0;
	Window child = 0;
	XTranslateCoordinates(dpy, *window, DefaultRootWindow(dpy), 0, 0, &left, &top, &child);
	std::this_thread::sleep_for(1s);
	std::vector<double> cpu;
	std::vector<double> drained;
	auto seen = read_strip(desk->screenshot(*window));
	for (int burst = 0; burst < bursts && seen; burst++) {
		program.signal(SIGSTOP);
		for (int i = 0; i < burst_moves; i++)
			XTestFakeMotionEvent(dpy, -1, left + 50 + i * 2, top + 50 + burst % 300, CurrentTime);
		XSync(dpy, False);
		const double ns = run_ns(program.pid());
		const auto go = Clock::now();
		program.signal(SIGCONT);
		const auto want = seen->total + burst_moves;
		seen = poll(std::chrono::seconds{2}, 0ms, [&]() -> std::optional<Strip> {
			const auto now = read_strip(desk->screenshot(*window));
			return now && now->total >= want ? now : std::nullopt;
		});
		drained.push_back(seconds_since(go) * 1000);
		cpu.push_back((run_ns(program.pid()) - ns) / burst_moves / 1000);
	}
	XCloseDisplay(dpy);
	if (!seen)
		return Drain{};
	return Drain{median(cpu), median(drained)};
}

/* ---- the table ---- */

std::string cpu_model()
{
	std::ifstream info("/proc/cpuinfo");
	std::string line;
	while (std::getline(info, line))
		if (line.rfind("model name", 0) == 0)
			return line.substr(line.find(':') + 2);
	return "unknown CPU";
}

std::string shown(double value, const char *unit)
{
	char text[32];
	if (value < 0)
		std::snprintf(text, sizeof text, "%9s %-3s", "n/a", "");
	else
		std::snprintf(text, sizeof text, "%9.2f %-3s", value, unit);
	return text;
}

// A negative value is a figure that could not be measured; the verdict is
// the X11 figure's, Wayland's and the page's being records with no target.
void row(const char *figure, double x11, double wayland, double page, const char *unit, const char *target,
         std::optional<bool> met)
{
	const char *verdict = !met ? "" : x11 < 0 ? "n/a" : *met ? "met" : "MISS";
	std::printf("| %-38s | %s | %s | %s | %-18s | %-4s |\n", figure, shown(x11, unit).c_str(),
	            shown(wayland, unit).c_str(), shown(page, unit).c_str(), target, verdict);
}

/* The page in Chromium on an Xvfb of its own, when make bench serves it:
 * QUORVEL_PAGE_COMMAND opens it, and its picture is the window's top-left. */
Figures measure_page(int steady_s, int soak_s)
{
	const char *command = std::getenv("QUORVEL_PAGE_COMMAND");
	if (command == nullptr)
		return Figures{};
	setenv("QUORVEL_COMMAND", command, 1);
	setenv("QUORVEL_PICTURE", "400x420", 1);
	std::fprintf(stderr, "the page in a browser:\n");
	const Figures page = measure_on("x11", steady_s, soak_s);
	unsetenv("QUORVEL_COMMAND");
	unsetenv("QUORVEL_PICTURE");
	return page;
}

} // namespace

int main(int argc, char *argv[])
{
	const int steady_s = argc > 1 ? std::atoi(argv[1]) : 10;
	const int soak_s = argc > 2 ? std::atoi(argv[2]) : 60;

	benchmark::RegisterBenchmark("step", step_fresh)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
	benchmark::RegisterBenchmark("step after 1e6 samples", step_after_million)
	        ->Unit(benchmark::kMicrosecond)
	        ->MinTime(2.0);
	benchmark::RegisterBenchmark("step unseen", step_unseen)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
	int bargc = 1;
	benchmark::Initialize(&bargc, argv);
	Collect collect;
	benchmark::RunSpecifiedBenchmarks(&collect);

	const Figures x11 = measure_on("x11", steady_s, soak_s);
	const Figures wayland = measure_on("wayland", steady_s, soak_s);
	// The menu entry's large window, for a projector: its pace and cost.
	const auto large = action_settings("large-window");
	const Figures x11_large = measure_on("x11", steady_s, steady_s, large);
	const Figures wayland_large = measure_on("wayland", steady_s, steady_s, large);
	const double flood_exit_ms = close_under_flood_ms();
	const Drain drain = drain_bursts();
	const Figures page = measure_page(steady_s, soak_s);

	std::printf("Machine: %s, %ld cores, no GPU; %s\n", cpu_model().c_str(),
	            sysconf(_SC_NPROCESSORS_ONLN), sdl_stack().c_str());
	std::printf("X11: Xvfb, 24-bit; Wayland: headless sway with the pixman renderer; page: the web build "
	            "in Chromium on Xvfb, all its processes\n\n");
	std::printf("| %-38s | %13s | %13s | %13s | %-18s | %-4s |\n", "figure", "X11", "Wayland",
	            "page (X11)", "target (X11)", "");
	const std::string column(15, '-');
	std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), column.c_str(), column.c_str(),
	            column.c_str(), std::string(20, '-').c_str(), std::string(6, '-').c_str());
	const double fresh = collect.micros["step"];
	const double later = collect.micros["step after 1e6 samples"];
	row("one step's work, fresh", fresh, fresh, -1, "us", "<= 50 us", fresh <= 50);
	row("one step's work, after 1e6 samples", later, later, -1, "us", "<= 50 us", later <= 50);
	const double unseen = collect.micros["step unseen"];
	row("a step unseen: its lasting disc only", unseen, unseen, -1, "us", "<= 1 us", unseen <= 1);
	row("ticks delivered by SDL (asked: 1 ms)", x11.ticks_per_s, wayland.ticks_per_s, -1, "/s",
	    "(the pace)", std::nullopt);
	row("steps taken by the program", x11.steps_per_s, wayland.steps_per_s, page.steps_per_s, "/s",
	    ">= 98 % of ticks", x11.steps_per_s >= 0.98 * x11.ticks_per_s);
	row("CPU, all processes", x11.cpu_percent, wayland.cpu_percent, page.cpu_percent, "%",
	    "<= 8 % of a core", x11.cpu_percent <= 8);
	row("peak resident memory", x11.peak_rss_mb, wayland.peak_rss_mb, page.peak_rss_mb, "MB", "<= 32 MB",
	    x11.peak_rss_mb <= 32);
	char soak[64];
	std::snprintf(soak, sizeof soak, "resident growth over %d s", soak_s);
	row(soak, x11.rss_growth_kb, wayland.rss_growth_kb, page.rss_growth_kb, "KB", "<= 256 KB",
	    x11.rss_growth_kb <= 256);
	row("launch to first picture", x11.first_picture_ms, wayland.first_picture_ms, page.first_picture_ms,
	    "ms", "<= 300 ms", x11.first_picture_ms <= 300);
	row("close request to exit", x11.exit_ms, wayland.exit_ms, page.exit_ms, "ms", "<= 200 ms",
	    x11.exit_ms <= 200);
	row("the same, slow flips, pointer flood", flood_exit_ms, -1, -1, "ms", "<= 200 ms",
	    flood_exit_ms <= 200);
	row("a burst of 120 moves: CPU per move", drain.cpu_us_per_event, -1, -1, "us", "(a record)",
	    std::nullopt);
	row("the same: drained and shown", drain.drained_ms, -1, -1, "ms", "(a record)", std::nullopt);
	row("large window: steps taken", x11_large.steps_per_s, wayland_large.steps_per_s, -1, "/s",
	    "(a record)", std::nullopt);
	row("large window: CPU, all processes", x11_large.cpu_percent, wayland_large.cpu_percent, -1, "%",
	    "(a record)", std::nullopt);
	return 0;
}
