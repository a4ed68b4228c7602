// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
#include "desktop.hpp"

#include <stdexcept>

#include "sway.hpp"
#include "xserver.hpp"

std::unique_ptr<Desktop> make_desktop(const std::string &kind)
{
	if (kind == "x11")
		return std::make_unique<XServer>();
	if (kind == "wayland")
		return std::make_unique<Sway>();
	throw std::invalid_argument("no desktop of kind " + kind);
}
