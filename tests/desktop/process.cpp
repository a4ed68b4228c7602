// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "process.hpp"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

bool runs_program_itself()
{
	return std::getenv("QUORVEL_COMMAND") == nullptr;
}

std::string window_title()
{
	const char *title = std::getenv("QUORVEL_TITLE");
	return title != nullptr ? title : "Quorvel";
}

std::vector<std::string> program_command(const std::vector<std::string> &args)
{
	std::vector<std::string> argv;
	if (runs_program_itself()) {
		argv.emplace_back(QUORVEL_BIN);
	} else {
		std::istringstream words(std::getenv("QUORVEL_COMMAND"));
		for (std::string w; words >> w;)
			argv.push_back(w);
	}
	argv.insert(argv.end(), args.begin(), args.end());
	return argv;
}

Child::Child(const std::vector<std::string> &argv, const std::vector<EnvChange> &env, int pass_fd)
{
	char name[] = "/tmp/quorvel-stderr-XXXXXX";
	err_fd_ = mkostemp(name, O_CLOEXEC);
	if (err_fd_ < 0)
		throw std::runtime_error("mkostemp");
	unlink(name);
	pid_ = fork();
	if (pid_ < 0)
		throw std::runtime_error("fork");
	if (pid_ == 0) {
		dup2(err_fd_, STDERR_FILENO);
		if (pass_fd >= 0)
			dup2(pass_fd, 3);
		for (const auto &[var, value] : env) {
			if (value)
				setenv(var.c_str(), value->c_str(), 1);
			else
				unsetenv(var.c_str());
		}
		std::vector<char *> args(argv.size() + 1); // ends in the null execv needs
		std::ranges::transform(argv, args.begin(),
		                       [](const std::string &a) { return const_cast<char *>(a.c_str()); });
		execv(args[0], args.data());
		_exit(127);
	}
}

Child::~Child()
{
	if (!status_ && pid_ > 0) {
		kill(pid_, SIGKILL);
		waitpid(pid_, nullptr, 0);
	}
	if (err_fd_ >= 0)
		close(err_fd_);
}

void Child::signal(int sig) const
{
	kill(pid_, sig);
}

std::optional<int> Child::wait(std::chrono::milliseconds timeout)
{
	status_ = poll(timeout, std::chrono::milliseconds(1), [this]() -> std::optional<int> {
		int st = 0;
		if (status_ || waitpid(pid_, &st, WNOHANG) != pid_)
			return status_;
		return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
	});
	return status_;
}

std::string Child::stderr_text() const
{
	std::string text;
	char buf[4096];
	for (ssize_t n; (n = pread(err_fd_, buf, sizeof buf, static_cast<off_t>(text.size()))) > 0;)
		text.append(buf, static_cast<size_t>(n));
	return text;
}
