// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "xserver.hpp"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace
{

// Windows come and go while we look; a vanished one is not an error here.
int ignore_errors(Display *, XErrorEvent *)
{
	return 0;
}

std::string read_display_number(int fd)
{
	std::string out;
	char c;
	while (read(fd, &c, 1) == 1 && c != '\n')
		out += c;
	return out;
}

Uint8 channel(unsigned long px, unsigned long mask)
{
	int shift = 0;
	while (mask != 0 && (mask & 1) == 0) {
		mask >>= 1;
		shift++;
	}
	return static_cast<Uint8>((px >> shift) & mask);
}

// A name w gives in a text property: in Latin-1 as SDL sets WM_NAME and
// WM_ICON_NAME, or in UTF-8 as a browser does.
std::string name_of(Display *dpy, Window w, Atom property)
{
	XTextProperty text{};
	std::string out;
	char **list = nullptr;
	int count = 0;
	if (XGetTextProperty(dpy, w, &text, property) != 0 &&
	    Xutf8TextPropertyToTextList(dpy, &text, &list, &count) == Success && count > 0)
		out = list[0];
	if (list != nullptr)
		XFreeStringList(list);
	if (text.value != nullptr)
		XFree(text.value);
	return out;
}

// The pid a window names as its owner's, or nothing where it names none.
std::optional<pid_t> owner(Display *dpy, Window w)
{
	Atom type = 0;
	int format = 0;
	unsigned long n = 0;
	unsigned long after = 0;
	unsigned char *data = nullptr;
	std::optional<pid_t> pid;
	if (XGetWindowProperty(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
	                       &type, &format, &n, &after, &data) == Success &&
	    data != nullptr && n == 1 && format == 32)
		pid = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data));
	if (data != nullptr)
		XFree(data);
	return pid;
}

// The shown top-level window titled title (WM_NAME) whose owner is pid, or
// that names no owner (_NET_WM_PID).
std::optional<WindowId> shown(Display *dpy, const std::string &title, pid_t pid)
{
	Window root = 0;
	Window parent = 0;
	Window *kids = nullptr;
	unsigned n = 0;
	std::optional<WindowId> found;
	if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &kids, &n) == 0)
		return found;
	for (unsigned i = 0; i < n && !found; i++) {
		XWindowAttributes a;
		if (XGetWindowAttributes(dpy, kids[i], &a) != 0 && a.map_state == IsViewable &&
		    name_of(dpy, kids[i], XA_WM_NAME) == title && owner(dpy, kids[i]).value_or(pid) == pid)
			found = kids[i];
	}
	if (kids != nullptr)
		XFree(kids);
	return found;
}

/* A page shows the program's picture at the top-left of a larger window, of
 * the size QUORVEL_PICTURE gives ("400x420"); elsewhere the window is all
 * picture. */
void picture_part(int &width, int &height)
{
	int w = 0;
	int h = 0;
	const char *size = std::getenv("QUORVEL_PICTURE");
	if (size != nullptr && std::sscanf(size, "%dx%d", &w, &h) == 2) {
		width = std::min(width, w);
		height = std::min(height, h);
	}
}

} // namespace

XServer::XServer()
{
	int fds[2];
	if (pipe(fds) != 0)
		throw std::runtime_error("pipe");
	// A projector's screen, where the large window fits.
	xvfb_ = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "3",
	                                                         "-screen", "0", "1920x1080x24", "-nolisten",
	                                                         "tcp", "-noreset"},
	                                std::vector<EnvChange>{}, fds[1]);
	close(fds[1]);
	const std::string number = read_display_number(fds[0]);
	close(fds[0]);
	if (number.empty())
		throw std::runtime_error("Xvfb did not start: " + xvfb_->stderr_text());
	name_ = ":" + number;
	XSetErrorHandler(ignore_errors);
	dpy_ = XOpenDisplay(name_.c_str());
	if (dpy_ == nullptr)
		throw std::runtime_error("cannot connect to Xvfb " + name_);
}

XServer::~XServer()
{
	if (dpy_ != nullptr)
		XCloseDisplay(dpy_);
	xvfb_->signal(SIGTERM);
	if (!xvfb_->wait(3s))
		xvfb_->signal(SIGKILL);
	xvfb_->wait(3s);
}

// The name EWMH desktops show, where find_window goes by the older WM_NAME.
std::string XServer::title(WindowId w)
{
	return name_of(dpy_, w, XInternAtom(dpy_, "_NET_WM_NAME", False));
}

std::optional<std::string> XServer::icon_title(WindowId w)
{
	return name_of(dpy_, w, XA_WM_ICON_NAME);
}

std::vector<std::string> XServer::class_names(WindowId w)
{
	XClassHint hint{};
	std::vector<std::string> names;
	if (XGetClassHint(dpy_, w, &hint) != 0) {
		names = {hint.res_name != nullptr ? hint.res_name : "",
		         hint.res_class != nullptr ? hint.res_class : ""};
		XFree(hint.res_name);
		XFree(hint.res_class);
	}
	return names;
}

std::optional<WindowId> XServer::find_window(const std::string &title, pid_t pid,
                                             std::chrono::milliseconds timeout)
{
	return poll(timeout, 2ms, [&] { return shown(dpy_, title, pid); });
}

Screenshot XServer::screenshot(WindowId w)
{
	XWindowAttributes a;
	XGetWindowAttributes(dpy_, w, &a);
	picture_part(a.width, a.height);
	XImage *img = XGetImage(dpy_, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
	if (img == nullptr)
		throw std::runtime_error("XGetImage failed");
	Screenshot shot(a.width, a.height);
	for (int y = 0; y < a.height; y++)
		for (int x = 0; x < a.width; x++) {
			const unsigned long px = XGetPixel(img, x, y);
			shot.set(x, y,
			         Rgb{channel(px, img->red_mask), channel(px, img->green_mask),
			             channel(px, img->blue_mask)});
		}
	XDestroyImage(img);
	return shot;
}

void XServer::request_close(WindowId w)
{
	XEvent ev{};
	ev.xclient.type = ClientMessage;
	ev.xclient.window = w;
	ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
	ev.xclient.format = 32;
	ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
	ev.xclient.data.l[1] = CurrentTime;
	XSendEvent(dpy_, w, False, NoEventMask, &ev);
	XFlush(dpy_);
}

bool XServer::move_pointer(WindowId w, int x, int y)
{
	int root_x = 0;
	int root_y = 0;
	Window child = 0;
	XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), x, y, &root_x, &root_y, &child);
	XTestFakeMotionEvent(dpy_, -1, root_x, root_y, CurrentTime);
	XFlush(dpy_);
	return true;
}

void XServer::move_window(WindowId w, int x, int y)
{
	XMoveWindow(dpy_, w, x, y);
	XSync(dpy_, False);
}

void XServer::focus(WindowId w)
{
	XSetInputFocus(dpy_, w, RevertToParent, CurrentTime);
	XFlush(dpy_);
}

void XServer::press_keys(const std::vector<const char *> &names)
{
	// A hand needs a while between press and release, and SDL reads a
	// release followed at once by a press as the key being held down.
	for (const char *key : names)
		for (const Bool down : {True, False}) {
			XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, XStringToKeysym(key)), down,
			                  CurrentTime);
			XFlush(dpy_);
			std::this_thread::sleep_for(10ms);
		}
}
