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

# debian/changelog's newest entry is the same release, packaged that day.  The
# release tarball leaves debian/ out; the source package brings it.
set(changelog ${PROJECT_SOURCE_DIR}/debian/changelog)
if(EXISTS ${changelog})
  file(READ ${changelog} entry)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  if(NOT entry MATCHES "^quorvel \\(([0-9.]+)-[^)]*\\)[^\n]*\n.*\n -- [^\n]*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    message(FATAL_ERROR "debian/changelog: cannot read the newest entry's version and date")
  endif()
  list(FIND months ${CMAKE_MATCH_3} month)
  math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
  if(month LESS 10)
    set(month 0${month})
  endif()
  set(packaged "${CMAKE_MATCH_1} (${CMAKE_MATCH_4}-${month}-${CMAKE_MATCH_2})")
  if(NOT packaged STREQUAL "${PROJECT_VERSION} (${QUORVEL_RELEASE_DATE})")
    message(FATAL_ERROR "debian/changelog's newest entry is ${packaged}; NEWS.md's is "
                        "${PROJECT_VERSION} (${QUORVEL_RELEASE_DATE})")
  endif()
endif()
