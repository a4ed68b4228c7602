// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "desktop.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "sway.hpp"
#include "xserver.hpp"

using namespace std::chrono_literals;

namespace
{

/* A headless sway and an Xvfb offered at once, as a Wayland session with
 * Xwayland offers both: the window is sought on each, and everything after
 * goes to the one SDL chose.  Which that was is printed, so that a change in
 * SDL's choice shows in the test's output. */
class Both : public Desktop
{
public:
	const char *kind() const override { return chosen_ != nullptr ? chosen_->kind() : "both"; }
	std::vector<EnvChange> settings() const override
	{
		std::vector<EnvChange> both = x11_.settings();
		std::ranges::copy(wayland_.settings(), std::back_inserter(both));
		return both;
	}
	std::optional<WindowId> find_window(const std::string &title, pid_t pid,
	                                    std::chrono::milliseconds timeout) override
	{
		return poll(timeout, 2ms, [&]() -> std::optional<WindowId> {
			for (Desktop *d : {static_cast<Desktop *>(&x11_), static_cast<Desktop *>(&wayland_)})
				if (const auto w = d->find_window(title, pid, 0ms)) {
					chosen_ = d;
					std::printf("offered both, the window opened on %s\n",
					            d == &x11_ ? ("X11 (Xvfb " + x11_.name() + ")").c_str()
					                       : "Wayland (headless sway)");
					return w;
				}
			return std::nullopt;
		});
	}
	std::string title(WindowId w) override { return chosen().title(w); }
	std::optional<std::string> icon_title(WindowId w) override { return chosen().icon_title(w); }
	std::vector<std::string> class_names(WindowId w) override { return chosen().class_names(w); }
	Screenshot screenshot(WindowId w) override { return chosen().screenshot(w); }
	void request_close(WindowId w) override { chosen().request_close(w); }
	void focus(WindowId w) override { chosen().focus(w); }
	void move_window(WindowId w, int x, int y) override { chosen().move_window(w, x, y); }
	bool move_pointer(WindowId w, int x, int y) override { return chosen().move_pointer(w, x, y); }
	void press_keys(const std::vector<const char *> &names) override { chosen().press_keys(names); }

private:
	Desktop &chosen() const
	{
		if (chosen_ == nullptr)
			throw std::logic_error("no window found yet on either desktop");
		return *chosen_;
	}

	XServer x11_;
	Sway wayland_;
	Desktop *chosen_ = nullptr;
};

} // namespace

std::vector<EnvChange> Desktop::environment(const std::vector<EnvChange> &extra) const
{
	std::vector<EnvChange> env{{"DISPLAY", std::nullopt},
	                           {"WAYLAND_DISPLAY", std::nullopt},
	                           {"SDL_VIDEODRIVER", std::nullopt},
	                           {"SDL_VIDEO_DRIVER", std::nullopt}};
	std::ranges::copy(settings(), std::back_inserter(env));
	std::ranges::copy(extra, std::back_inserter(env));
	return env;
}

std::string entry_value(const std::string &group, const std::string &key)
{
	std::ifstream entry(QUORVEL_DESKTOP_ENTRY);
	bool in_group = false;
	for (std::string line; std::getline(entry, line);) {
		if (line.rfind('[', 0) == 0)
			in_group = line == "[" + group + "]";
		else if (in_group && line.rfind(key + "=", 0) == 0)
			return line.substr(key.size() + 1);
	}
	return "(none)";
}

std::vector<EnvChange> action_settings(const std::string &action)
{
	std::istringstream words(entry_value("Desktop Action " + action, "Exec"));
	std::vector<EnvChange> settings;
	for (std::string word; words >> word;)
		if (const auto eq = word.find('='); eq != std::string::npos)
			settings.emplace_back(word.substr(0, eq), word.substr(eq + 1));
	return settings;
}

std::optional<int> flood_pointer(Desktop &desk, WindowId w, Child &program, std::chrono::milliseconds span,
                                 int &moves)
{
	return poll(span, 0ms, [&] {
		desk.move_pointer(w, 50 + moves % 300, 50 + moves / 300 % 300);
		moves++;
		return program.wait(2ms);
	});
}

std::unique_ptr<Desktop> make_desktop(const std::string &kind)
{
	if (kind == "x11")
		return std::make_unique<XServer>();
	if (kind == "wayland")
		return std::make_unique<Sway>();
	if (kind == "both")
		return std::make_unique<Both>();
	throw std::invalid_argument("no desktop of kind " + kind);
}
