// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "process.hpp"

using namespace std::chrono_literals;

// Whatever the reason no window can be shown, the program says so once, at
// the end of what is on standard error, and ends with status 1 at once.
TEST(Driver, NoDisplayMeansNoWindow)
{
	struct Case {
		const char *what;
		std::vector<EnvChange> env;
	};
	const Case cases[] = {
	        {"x11 asked for, no server", {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", ":231"}}},
	        {"nothing set at all",
	         {{"SDL_VIDEODRIVER", std::nullopt},
	          {"DISPLAY", std::nullopt},
	          {"WAYLAND_DISPLAY", std::nullopt}}},
	        {"display that does not answer",
	         {{"SDL_VIDEODRIVER", std::nullopt}, {"DISPLAY", ":231"}, {"WAYLAND_DISPLAY", std::nullopt}}},
	};
	// A build run through a command is the Windows one, where standard error
	// is in text mode and CR LF ends the line.
	const std::string want = std::string("OMG no window") + (runs_program_itself() ? "\n" : "\r\n");
	for (const Case &c : cases) {
		Child p(program_command({"--help", "-x", "two words"}), c.env);
		const auto status = p.wait(10s);
		ASSERT_TRUE(status.has_value()) << c.what << ": still running";
		EXPECT_EQ(*status, 1) << c.what;
		const std::string err = p.stderr_text();
		ASSERT_GE(err.size(), want.size()) << c.what;
		EXPECT_EQ(err.substr(err.size() - want.size()), want) << c.what;
		EXPECT_EQ(err.find("OMG"), err.size() - want.size()) << c.what;
	}
}

// Asked for by name, alone or in a list of drivers to try, a driver that
// draws into memory runs the program without a display.
TEST(Driver, MemoryDriverRunsWhenAskedFor)
{
	for (const char *asked : {"dummy", "x11,offscreen"}) {
		Child p(program_command(), {{"SDL_VIDEODRIVER", asked},
		                            {"DISPLAY", std::nullopt},
		                            {"WAYLAND_DISPLAY", std::nullopt}});
		EXPECT_FALSE(p.wait(1500ms).has_value()) << asked;
		p.signal(SIGTERM);
		const auto status = p.wait(2s);
		ASSERT_TRUE(status.has_value()) << asked;
		EXPECT_EQ(*status, 0) << asked;
		EXPECT_EQ(p.stderr_text(), "") << asked;
	}
}
