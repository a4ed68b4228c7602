// A private Xvfb for one test, and what a user can see and do in it.
#pragma once

#include <X11/Xlib.h>

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

class XServer
{
public:
	XServer(); // starts Xvfb on a free display number and connects to it
	~XServer();
	XServer(const XServer &) = delete;
	XServer &operator=(const XServer &) = delete;

	const std::string &name() const { return name_; } // ":N"
	Display *display() const { return dpy_; }

	// The top-level window titled title, once it is mapped.
	std::optional<Window> find_window(const std::string &title, std::chrono::milliseconds timeout);
	Screenshot screenshot(Window w);
	void request_close(Window w); // what a window manager's close button sends
	void focus(Window w);         // as a window manager does on a click
	void move_pointer(int x, int y);
	void press_key(const char *keysym_name);

private:
	std::unique_ptr<Child> xvfb_;
	std::string name_;
	Display *dpy_ = nullptr;
};

// An environment in which SDL opens its window on x, whatever the caller's
// own display is, with extra changes after.
std::vector<EnvChange> on_display(const XServer &x, std::vector<EnvChange> extra = {});
std::string window_title(Display *dpy, Window w);
std::string icon_title(Display *dpy, Window w);
