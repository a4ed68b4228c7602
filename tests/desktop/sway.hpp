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
	std::vector<EnvChange> settings() const override
	{
		return {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", dir_}};
	}
	std::optional<WindowId> find_window(const std::string &title, pid_t pid,
	                                    std::chrono::milliseconds timeout) override;
	std::string title(WindowId w) override { return query(w, ".name // empty"); }
	std::optional<std::string> icon_title(WindowId) override { return std::nullopt; }
	std::vector<std::string> class_names(WindowId w) override { return {query(w, ".app_id // empty")}; }
	Screenshot screenshot(WindowId w) override;
	void request_close(WindowId w) override { tell(w, "kill"); }
	void focus(WindowId w) override { tell(w, "focus"); }
	void move_window(WindowId w, int x, int y) override
	{
		tell(w, "move absolute position " + std::to_string(x) + " " + std::to_string(y));
	}
	// A headless sway has no pointer to move.
	bool move_pointer(WindowId, int, int) override { return false; }
	void press_keys(const std::vector<const char *> &names) override;

private:
	// Runs a shell command against this sway and returns its standard output.
	std::string run(const std::string &command) const;
	// The first line of jq's output about the containers that match which.
	std::string query(const std::string &which, const std::string &jq) const;
	std::string query(WindowId w, const std::string &jq) const
	{
		return query(".id? == " + std::to_string(w), jq);
	}
	// Has sway do what to the container w, as swaymsg's [con_id=w] what.
	void tell(WindowId w, const std::string &what) const;

	std::string dir_;    // XDG_RUNTIME_DIR, sockets and config
	std::string socket_; // wayland-N
	std::string ipc_;    // sway's IPC socket
	std::unique_ptr<Child> sway_;
};
