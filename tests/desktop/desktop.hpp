// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// A desktop the program can open its window on, seen and used from outside
// as a person would: a private X server, or a private Wayland compositor.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas.hpp"
#include "process.hpp"

// What a screenshot shows of one pixel.
class Screenshot
{
public:
	Screenshot(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
	int width() const { return w_; }
	int height() const { return h_; }
	Rgb at(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
	void set(int x, int y, Rgb c) { px_[static_cast<size_t>(y) * w_ + x] = c; }

private:
	int w_, h_;
	std::vector<Rgb> px_;
};

using WindowId = unsigned long;

class Desktop
{
public:
	Desktop() = default;
	virtual ~Desktop() = default;
	Desktop(const Desktop &) = delete;
	Desktop &operator=(const Desktop &) = delete;

	virtual const char *kind() const = 0; // "x11" or "wayland"
	// An environment in which SDL opens its window here, whatever the
	// caller's own desktop is, with extra changes after.
	std::vector<EnvChange> environment(const std::vector<EnvChange> &extra = {}) const;
	// What SDL needs to find this desktop once every other is forgotten.
	virtual std::vector<EnvChange> settings() const = 0;
	// The window of process pid, once it is shown: the one titled title
	// under X11, where a launcher's process may own it; under Wayland, which
	// knows each window's process, the first with a title of any kind.
	virtual std::optional<WindowId> find_window(const std::string &title, pid_t pid,
	                                            std::chrono::milliseconds timeout) = 0;
	virtual std::string title(WindowId w) = 0;
	// Nothing where the desktop has no icon titles.
	virtual std::optional<std::string> icon_title(WindowId w) = 0;
	// The names a desktop matches the window to its menu entry by: WM_CLASS's
	// instance and class under X11, the app_id under Wayland.
	virtual std::vector<std::string> class_names(WindowId w) = 0;
	virtual Screenshot screenshot(WindowId w) = 0;
	virtual void request_close(WindowId w) = 0; // what a close button does
	virtual void focus(WindowId w) = 0;         // as a click would
	// Puts w's top-left corner at (x, y) of the screen, as a drag would.
	virtual void move_window(WindowId w, int x, int y) = 0;
	// Moves the pointer to (x, y) of w; false where the desktop has no pointer.
	virtual bool move_pointer(WindowId w, int x, int y) = 0;
	// Presses and releases each key in turn, named as X names its keysyms.
	virtual void press_keys(const std::vector<const char *> &names) = 0;
};

// A key of the installed menu entry, in the group [group]: "(none)" where it
// has none.
std::string entry_value(const std::string &group, const std::string &key);
// The settings that an action's "env NAME=VALUE... quorvel" command line of
// the menu entry makes.
std::vector<EnvChange> action_settings(const std::string &action);

// Moves the pointer to a new place over w every 2 ms for span or until
// program ends, counting the moves; its exit status where it ended.
std::optional<int> flood_pointer(Desktop &desk, WindowId w, Child &program, std::chrono::milliseconds span,
                                 int &moves);

// kind is "x11", "wayland", or "both": a Wayland compositor and an X server
// offered at once, as on a Wayland session with Xwayland, where the program
// opens its window on whichever SDL picks.
std::unique_ptr<Desktop> make_desktop(const std::string &kind);
