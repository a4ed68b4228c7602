// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "sway.hpp"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{

// sway will not run as root; nobody can, and root can still use its sockets.
constexpr uid_t nobody = 65534;
constexpr std::chrono::milliseconds fail_after{10000};

// A projector's screen, where the large window fits; and the rule the README
// gives sway's users: SDL 2.26 leaves the window's size free, and a tiling
// layout would stretch it (SDL 3 floats it by itself).
constexpr const char *config = "xwayland disable\n"
                               "output * mode 1920x1080\n"
                               "for_window [app_id=\"quorvel\"] floating enable\n";

std::string quoted(const std::string &s)
{
	std::string out = "'";
	for (const char c : s)
		out += c == '\'' ? std::string("'\\''") : std::string(1, c);
	return out + "'";
}

} // namespace

Sway::Sway()
{
	char dir[] = "/tmp/quorvel-sway-XXXXXX";
	if (mkdtemp(dir) == nullptr)
		throw std::runtime_error("mkdtemp");
	dir_ = dir;
	std::ofstream(dir_ + "/config") << config;
	std::vector<std::string> argv{"/usr/bin/sway", "-c", dir_ + "/config"};
	if (geteuid() == 0) {
		if (chown(dir, nobody, nobody) != 0)
			throw std::runtime_error("chown " + dir_);
		argv.insert(argv.begin(),
		            {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
	}
	sway_ = std::make_unique<Child>(argv, std::vector<EnvChange>{{"XDG_RUNTIME_DIR", dir_},
	                                                             {"HOME", dir_},
	                                                             {"WLR_BACKENDS", "headless"},
	                                                             {"WLR_LIBINPUT_NO_DEVICES", "1"},
	                                                             {"WLR_RENDERER", "pixman"},
	                                                             {"DISPLAY", std::nullopt},
	                                                             {"WAYLAND_DISPLAY", std::nullopt},
	                                                             {"SWAYSOCK", std::nullopt}});
	const auto sockets = [&] {
		for (const auto &entry : fs::directory_iterator(dir_)) {
			const std::string name = entry.path().filename();
			if (entry.is_socket() && name.rfind("wayland-", 0) == 0)
				socket_ = name;
			if (entry.is_socket() && name.rfind("sway-ipc.", 0) == 0)
				ipc_ = entry.path();
		}
		return !socket_.empty() && !ipc_.empty();
	};
	if (!poll(fail_after, 10ms, sockets))
		throw std::runtime_error("sway did not start: " + sway_->stderr_text());
}

Sway::~Sway()
{
	sway_->signal(SIGTERM);
	if (!sway_->wait(3s))
		sway_->signal(SIGKILL);
	sway_->wait(3s);
	std::error_code ignored;
	fs::remove_all(dir_, ignored);
}

std::string Sway::run(const std::string &command) const
{
	const std::string env = "SWAYSOCK=" + quoted(ipc_) + " WAYLAND_DISPLAY=" + socket_ +
	                        " XDG_RUNTIME_DIR=" + quoted(dir_) + " ";
	FILE *out = popen((env + command).c_str(), "r");
	if (out == nullptr)
		throw std::runtime_error("popen: " + command);
	std::string text;
	char buf[4096];
	for (size_t n; (n = std::fread(buf, 1, sizeof buf, out)) > 0;)
		text.append(buf, n);
	pclose(out);
	return text;
}

std::string Sway::query(const std::string &which, const std::string &jq) const
{
	std::string line =
	        run("swaymsg -t get_tree | jq -r '.. | objects | select(" + which + ") | " + jq + "'");
	return line.substr(0, line.find('\n'));
}

void Sway::tell(WindowId w, const std::string &what) const
{
	run("swaymsg '[con_id=" + std::to_string(w) + "] " + what + "' >/dev/null");
}

// Found by its process alone, the title left for the caller to check: it
// arrives a moment after the window does.
std::optional<WindowId> Sway::find_window(const std::string & /*title*/, pid_t pid,
                                          std::chrono::milliseconds timeout)
{
	return poll(timeout, 20ms, [&]() -> std::optional<WindowId> {
		std::istringstream found(
		        query(".pid? == " + std::to_string(pid) + " and .visible? == true", ".id"));
		WindowId w = 0;
		if (found >> w && !title(w).empty())
			return w;
		return std::nullopt;
	});
}

Screenshot Sway::screenshot(WindowId w)
{
	// "x,y wxh", as grim takes it.
	const std::string where = query(w, "\"\\(.rect.x + .window_rect.x),\\(.rect.y + .window_rect.y) "
	                                   "\\(.window_rect.width)x\\(.window_rect.height)\"");
	std::istringstream in(run("grim -t ppm -g " + quoted(where) + " -"));
	std::string magic;
	int width = 0;
	int height = 0;
	int max = 0;
	if (!(in >> magic >> width >> height >> max) || magic != "P6" || max != 255)
		throw std::runtime_error("grim gave no picture of " + where);
	in.get();
	Screenshot shot(width, height);
	for (int y = 0; y < height; y++)
		for (int x = 0; x < width; x++) {
			Rgb c{};
			in.read(reinterpret_cast<char *>(c.data()), 3);
			shot.set(x, y, c);
		}
	if (!in)
		throw std::runtime_error("grim's picture is cut short");
	return shot;
}

/* One virtual keyboard for all the keys: SDL 3 misses the keys of a keyboard
 * that comes and goes with each.  Each is held a while, as a hand would. */
void Sway::press_keys(const std::vector<const char *> &names)
{
	std::string command = "wtype";
	for (const char *name : names)
		command += " -P " + quoted(name) + " -s 10 -p " + quoted(name) + " -s 10";
	run(command);
}
