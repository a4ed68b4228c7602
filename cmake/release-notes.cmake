# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# NEWS.md's newest entry is the current release: it must name the version
# project() states, and its date and items fill the AppStream release entry and
# date the manual page, so the notes are written once.
file(READ ${PROJECT_SOURCE_DIR}/NEWS.md news)
if(NOT news MATCHES "\n## ([0-9.]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)\n\n((- [^\n]*\n)+)")
  message(FATAL_ERROR "NEWS.md: no entry of the form '## VERSION (YYYY-MM-DD)' followed by '- ' items")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "NEWS.md's newest entry is ${CMAKE_MATCH_1}; project() says ${PROJECT_VERSION}")
endif()
set(QUORVEL_RELEASE_DATE ${CMAKE_MATCH_2})
set(items "${CMAKE_MATCH_3}")
string(REPLACE "&" "&amp;" items "${items}")
string(REPLACE "<" "&lt;" items "${items}")
string(REPLACE ">" "&gt;" items "${items}")
string(REGEX REPLACE "- ([^\n]*)\n" "          <li>\\1</li>\n" items "${items}")
string(STRIP "${items}" QUORVEL_RELEASE_NOTES)
