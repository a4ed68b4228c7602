// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Reads the status strip off a screenshot, glyph by glyph.
#pragma once

#include <optional>
#include <string>

#include "desktop.hpp"

struct Strip {
	unsigned long long inside = 0, total = 0;
	std::string estimate; // as shown, eight decimals
};

// Nothing when the strip shows no tally (yet).  A picture shown at a whole
// multiple of its size is read at that scale.
std::optional<Strip> read_strip(const Screenshot &shot);
