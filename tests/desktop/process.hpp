// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Runs the built program as a child process and watches it end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The command that runs the program under test: the built program itself, or
// QUORVEL_COMMAND where set (words split at spaces: "wine quorvel.exe", say),
// followed by args.
std::vector<std::string> program_command(const std::vector<std::string> &args = {});
bool runs_program_itself();
// The title of the window it opens: "Quorvel", or QUORVEL_TITLE where set
// (a browser adds its own name to the page's).
std::string window_title();

// Calls check every pause until it gives a value or timeout has passed; what
// it gave last.
template <typename Check>
auto poll(std::chrono::milliseconds timeout, std::chrono::milliseconds pause, Check check)
{
	const auto end = std::chrono::steady_clock::now() + timeout;
	auto found = check();
	while (!found && std::chrono::steady_clock::now() < end) {
		std::this_thread::sleep_for(pause);
		found = check();
	}
	return found;
}

// A variable to set, or with no value, to remove from the child's environment.
using EnvChange = std::pair<std::string, std::optional<std::string>>;

class Child
{
public:
	// pass_fd, when given, is open in the child as descriptor 3.
	Child(const std::vector<std::string> &argv, const std::vector<EnvChange> &env, int pass_fd = -1);
	~Child(); // kills a child that is still running
	Child(const Child &) = delete;
	Child &operator=(const Child &) = delete;

	pid_t pid() const { return pid_; }
	void signal(int sig) const;
	// The exit status (128 + signal when killed), or nothing if the child
	// is still running after the timeout.
	std::optional<int> wait(std::chrono::milliseconds timeout);
	// All the child has written to standard error so far.
	std::string stderr_text() const;

private:
	pid_t pid_ = -1;
	int err_fd_ = -1; // a file, not a pipe, so a chatty child never blocks
	std::optional<int> status_;
};
