// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Runs the program for a few seconds in a private Xvfb and writes its window
// to standard output as a binary PPM: a picture of a run without a desktop.
//   screenshot [SECONDS] > picture.ppm
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "xserver.hpp"

using namespace std::chrono_literals;

int main(int argc, char *argv[])
{
	const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
	XServer x;
	Child program(program_command(), x.environment());
	const auto window = x.find_window(window_title(), program.pid(), 5s);
	if (!window) {
		std::cerr << "screenshot: no Quorvel window appeared\n" << program.stderr_text();
		return 1;
	}
	std::this_thread::sleep_for(std::chrono::seconds(seconds));
	const Screenshot shot = x.screenshot(*window);
	std::printf("P6\n%d %d\n255\n", shot.width(), shot.height());
	for (int y = 0; y < shot.height(); y++)
		for (int x0 = 0; x0 < shot.width(); x0++)
			std::fwrite(shot.at(x0, y).data(), 1, 3, stdout);
	program.signal(SIGTERM);
	program.wait(2s);
	return 0;
}
