// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// A private Xvfb for one test, and what a user can see and do in it.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop.hpp"

class XServer : public Desktop
{
public:
	XServer(); // starts Xvfb on a free display number and connects to it
	~XServer() override;

	const std::string &name() const { return name_; } // ":N"

	const char *kind() const override { return "x11"; }
	std::vector<EnvChange> settings() const override { return {{"DISPLAY", name_}}; }
	std::optional<WindowId> find_window(const std::string &title, pid_t pid,
	                                    std::chrono::milliseconds timeout) override;
	std::string title(WindowId w) override; // _NET_WM_NAME
	std::optional<std::string> icon_title(WindowId w) override;
	std::vector<std::string> class_names(WindowId w) override;
	Screenshot screenshot(WindowId w) override;
	void request_close(WindowId w) override; // a window manager's WM_DELETE_WINDOW
	void focus(WindowId w) override;
	void move_window(WindowId w, int x, int y) override;
	bool move_pointer(WindowId w, int x, int y) override;
	void press_keys(const std::vector<const char *> &names) override;

private:
	std::unique_ptr<Child> xvfb_;
	std::string name_;
	Display *dpy_ = nullptr;
};
