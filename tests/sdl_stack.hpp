// Which SDL runs under the 1.2 API, read from the libraries loaded: the old
// SDL 1.2 itself, or the compat library on SDL 2, or on sdl2-compat over SDL 3.
#pragma once

#include <optional>
#include <string>

// For example "sdl12-compat 1.2.78 over sdl2-compat 2.32.74 over SDL 3.4.18".
std::string sdl_stack();
// SDL 2's minor version where the compat library runs on SDL 2 itself;
// nothing on SDL 3 or the old SDL 1.2.
std::optional<int> sdl2_minor();
