// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
// Which SDL runs under the 1.2 API, read from the libraries loaded: the old
// SDL 1.2 itself, or the compat library on SDL 2, or on sdl2-compat over SDL 3.
#pragma once

#include <string>

// For example "sdl12-compat 1.2.78 over sdl2-compat 2.32.74 over SDL 3.4.18".
std::string sdl_stack();
// The compat library on SDL 2 itself, not on SDL 3.
bool on_sdl2();
