# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# Run by the install, which alone knows the prefix, with QUORVEL_ENTRY the
# menu entry built and QUORVEL_INSTALLED_ENTRY the one to install.  A menu
# runs an entry's program by name from PATH, which holds the system's games
# folders and no other's (not ~/.local/games): installed elsewhere, the
# entry names the program by its full path.  The path is quoted as entries
# quote arguments, then escaped as their strings are.
get_filename_component(games "${CMAKE_INSTALL_PREFIX}/games" ABSOLUTE)
file(READ "${QUORVEL_ENTRY}" text)
if(NOT games MATCHES "^/usr(/local)?/games$")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${games}/quorvel")
  string(REPLACE "\\" "\\\\" program "\"${program}\"")
  string(REPLACE "%" "%%" program "${program}")
  string(REGEX REPLACE "(\nExec=[^\n]*)quorvel\n" "\\1<program>\n" text "${text}")
  string(REPLACE "<program>" "${program}" text "${text}")
endif()
file(WRITE "${QUORVEL_INSTALLED_ENTRY}" "${text}")
