// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// A private headless sway for one test: a Wayland desktop with no X server.
#pragma once

#include <memory>
#include <string>

#include "desktop.hpp"

class Sway : public Desktop
{
public:
	Sway(); // starts sway in a runtime folder of its own
	~Sway() override;

	const char *kind() const override { return "wayland"; }
	std::vector<EnvChange> environment(std::vector<EnvChange> extra = {}) const override;
	std::optional<WindowId> find_window(const std::string &title, pid_t pid,
	                                    std::chrono::milliseconds timeout) override;
	std::string title(WindowId w) override;
	std::optional<std::string> icon_title(WindowId) override { return std::nullopt; }
	std::vector<std::string> class_names(WindowId w) override;
	Screenshot screenshot(WindowId w) override;
	void request_close(WindowId w) override;
	void focus(WindowId w) override;
	void move_window(WindowId w, int x, int y) override;
	// A headless sway has no pointer to move.
	bool move_pointer(WindowId, int, int) override { return false; }
	void press_keys(const std::vector<const char *> &names) override;

private:
	// Runs a shell command against this sway and returns its standard output.
	std::string run(const std::string &command) const;
	// One line of jq's output about the container w.
	std::string query(WindowId w, const std::string &jq) const;

	std::string dir_;    // XDG_RUNTIME_DIR, sockets and config
	std::string socket_; // wayland-N
	std::string ipc_;    // sway's IPC socket
	std::unique_ptr<Child> sway_;
};
