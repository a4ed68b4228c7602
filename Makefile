# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
# A thin wrapper around CMake: configure once, then build, run and test.
# Every target first installs the Debian packages it needs that are missing;
# make run needs no test tools, so the tests are configured in only by the
# targets that use them.

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
BUILD_TYPE   ?= RelWithDebInfo
PREFIX       ?= /usr/local
CMAKE        ?= cmake
CTEST        ?= ctest
DEMO_SECONDS ?= 8
DEPS         := scripts/deps.sh
SUITES       ?= bookworm trixie sid
WIN_DIR      ?= build-windows
VERSION      := $(shell sed -n 's/^project.quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
CHROOTS      ?= $(BUILD_DIR)/chroots
RELEASE_DIR  ?= $(BUILD_DIR)/release

# Every step dates what it makes by the last commit, so that the same commit
# gives the same bytes.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

# gettext merges the translations into the menu entry and, with AppStream's
# rules, into its data.
BUILD_PKGS := cmake g++ make pkg-config 'libsdl1.2-compat-dev|libsdl1.2-dev' libsdl-gfx1.2-dev gettext appstream
# librsvg2-common lets AppStream's catalogue maker read the SVG icon;
# libglib2.0-bin's gio launches the menu entry as GLib's menus do, on
# xvfb-run's display, which needs xauth; python3-xlib closes its window.
TEST_PKGS  := $(BUILD_PKGS) python3 python3-xlib libgtest-dev xvfb xauth libx11-dev libxtst-dev desktop-file-utils \
        sway grim wtype jq groff-base appstream appstream-compose \
        librsvg2-common libglib2.0-bin
DEMO_PKGS  := $(TEST_PKGS) netpbm
BENCH_PKGS := $(TEST_PKGS) libbenchmark-dev
LINT_PKGS  := $(BENCH_PKGS) clang-tidy cppcheck clang-format reuse
SANITIZE_PKGS := $(TEST_PKGS) valgrind
WINDOWS_PKGS  := cmake make pkg-config g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 dpkg-dev \
        librsvg2-bin icoutils wixl msitools faketime python3 unzip \
        patch zip googletest
WINE_PKGS     := $(WINDOWS_PKGS) $(TEST_PKGS) wine wine64
# What the unpacked old SDL 1.2 and its libcaca link beyond the compat one's needs.
CLASSIC_PKGS  := $(TEST_PKGS) libslang2 libncursesw6 libasound2 libpulse0

SANITIZERS := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
# Full unwinding on malloc, so a leak's stack reaches the SDL call that the
# suppressions name; the slowed-step test preloads a library ahead of ASan.
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:verify_asan_link_order=0 \
        LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
SOURCES     = $(wildcard src/*.cpp src/*.hpp src/web/*.cpp src/web/*.hpp tests/*/*.cpp tests/*/*.hpp bench/*.cpp scripts/docs/*.cpp)

.PHONY: all build with-tests harness run test test-classic test-debian windows msi test-windows web test-web audit-web dist distcheck deb check-deb release check-reproducible demo bench bench-generator lint format sanitize install uninstall pot clean distclean

all: build

$(BUILD_DIR)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
		-DBUILD_TESTING=OFF

build:
	@$(DEPS) $(BUILD_PKGS)
	@$(MAKE) --no-print-directory $(BUILD_DIR)/CMakeCache.txt
	$(CMAKE) --build $(BUILD_DIR) -j2

# The build with the tests and their harness; CONFIG adds CMake settings.
with-tests:
	@$(MAKE) --no-print-directory $(BUILD_DIR)/CMakeCache.txt
	@$(CMAKE) -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON $(CONFIG) >/dev/null

# The tests that run a program from outside, built, for the targets that
# run them against another build of it.
harness:
	@$(DEPS) $(TEST_PKGS)
	@$(MAKE) --no-print-directory with-tests
	$(CMAKE) --build $(BUILD_DIR) -j2 --target driver_tests e2e_tests

run: build
	./$(BUILD_DIR)/quorvel

test:
	@$(DEPS) $(TEST_PKGS)
	@$(MAKE) --no-print-directory with-tests
	@$(MAKE) --no-print-directory build
	cd $(BUILD_DIR) && $(CTEST) --output-on-failure -j2
	@# Which display SDL took when offered Wayland and X11 at once.
	@grep -h '^offered both' $(BUILD_DIR)/Testing/Temporary/LastTest.log || true

# The end-to-end tests again, with the old SDL 1.2.15 runtime in place of
# the compat one; the program is built against the compat headers either way.
test-classic:
	@$(DEPS) $(CLASSIC_PKGS)
	@$(MAKE) --no-print-directory with-tests
	@$(MAKE) --no-print-directory build
	lib=$$(scripts/classic-sdl.sh $(BUILD_DIR)/classic-sdl) && \
		cd $(BUILD_DIR) && LD_LIBRARY_PATH="$$lib" $(CTEST) --output-on-failure -j2 -L e2e

# The README's make test, from the committed tree, in a brand-new Debian of
# each suite (Debian 12, 13 and unstable by default); needs root.
test-debian:
	scripts/debian/test.sh "$(SUITES)" $(CHROOTS)

# quorvel.exe for 64-bit Windows, with its icon and version, and a zip to
# hand out, cross-built with SDL 1.2.15 and SDL_gfx made from source into
# $(WIN_DIR)/prefix once.
WIN_PREFIX := $(CURDIR)/$(WIN_DIR)/prefix
WIN_ZIP    := $(WIN_DIR)/quorvel-$(VERSION)-win64.zip
WIN_MSI    := $(WIN_DIR)/quorvel-$(VERSION)-win64.msi
WIN_CONFIG := -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
        -DQUORVEL_WINDOWS_PREFIX=$(WIN_PREFIX)
$(WIN_DIR)/build/CMakeCache.txt:
	$(CMAKE) -S . -B $(WIN_DIR)/build $(WIN_CONFIG)

windows:
	@$(DEPS) $(WINDOWS_PKGS)
	scripts/windows/deps.sh $(WIN_PREFIX) $(WIN_DIR)/work
	@$(MAKE) --no-print-directory $(WIN_DIR)/build/CMakeCache.txt
	$(CMAKE) --build $(WIN_DIR)/build -j2 --target quorvel
	scripts/windows/zip.sh $(WIN_DIR)/build/quorvel.exe $(WIN_PREFIX) $(WIN_DIR)/work $(VERSION) $(WIN_ZIP)

# The installer for schools: the zip's files, a per-machine install with a
# Start-menu entry, upgraded in place by a newer version.
msi: windows
	scripts/windows/msi.sh $(WIN_ZIP) $(WIN_DIR)/build/quorvel.ico $(VERSION) $(WIN_MSI)

# The unit tests cross-built and run under Wine, then the end-to-end checks
# against quorvel.exe from the zip and as the MSI installs it, under Wine on
# the tests' own Xvfb.  Building runs Wine, as CMake asks each test its name.
WINE_ENV := WINEPREFIX=$(CURDIR)/$(WIN_DIR)/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
$(WIN_DIR)/wine/system.reg:
	$(WINE_ENV) /usr/lib/wine/wine64 wineboot -i

test-windows: msi harness
	@$(DEPS) $(WINE_PKGS)
	@$(MAKE) --no-print-directory $(WIN_DIR)/wine/system.reg
	$(CMAKE) -S . -B $(WIN_DIR)/build -DBUILD_TESTING=ON >/dev/null
	$(WINE_ENV) $(CMAKE) --build $(WIN_DIR)/build -j2
	scripts/windows/test.sh $(WIN_ZIP) $(WIN_MSI) $(WIN_DIR) $(BUILD_DIR)/tests

# The page for the browser in $(WEB_DIR), a static site built by CMake with
# Debian's Emscripten in $(WEB_BUILD), and SDL_gfx from its source: the page,
# the program, its web app manifest and icons, and its service worker; and
# quorvel.html, the page in one file.
WEB_DIR      ?= build-web
WEB_BUILD    := $(WEB_DIR)-work
WEB_PKGS     := emscripten python3 node-qrcode-generator terser gettext
WEB_TEST_PKGS := $(WEB_PKGS) $(TEST_PKGS) chromium chromium-driver python3-selenium python3-websocket python3-pytest \
        firefox-esr libwebkit2gtk-4.1-0 webkit2gtk-driver zbar-tools imagemagick
# The page's checks by concern, in tests/web.
WEB_CHECKS = /usr/bin/python3 -B -m pytest tests/web --web=$(WEB_DIR)
web:
	@$(DEPS) $(WEB_PKGS)
	emcmake $(CMAKE) -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DQUORVEL_PAGE_DIR=$(abspath $(WEB_DIR)) >/dev/null
	$(CMAKE) --build $(WEB_BUILD) -j2

# The page's checks in Chromium, Firefox and WebKit (whose window needs an X
# server): the desktop's end-to-end checks against the page on the tests' own
# Xvfb, served and from disk, and its phone, touch, screen reader, sound,
# chart, class, offline, one-file, network, frame, code-to-scan, trouble,
# language and memory checks, and axe-core's audit (from npm, pinned by
# scripts/web/axe/, installed into $(WEB_DIR)-axe).
test-web: web harness
	@$(DEPS) $(WEB_TEST_PKGS)
	xvfb-run -a -s "-screen 0 1280x1024x24" $(WEB_CHECKS) --e2e=$(BUILD_DIR)/tests/e2e_tests --axe=$(WEB_DIR)-axe

# Lighthouse's four scores for the page, on its mobile and desktop presets.
audit-web: web
	@$(DEPS) $(WEB_PKGS) chromium python3-selenium python3-websocket python3-pytest
	$(WEB_CHECKS) -m audit --audit=$(WEB_DIR)-audit

# A release tarball of the committed tree, less CI's files (.gitattributes),
# and the check that, unpacked in a fresh place, its make test passes.
DIST := quorvel-$(VERSION)
dist:
	@mkdir -p $(BUILD_DIR)
	git archive --format=tar.gz --prefix=$(DIST)/ -o $(BUILD_DIR)/$(DIST).tar.gz HEAD
	@echo "wrote $(BUILD_DIR)/$(DIST).tar.gz"

distcheck: dist
	rm -rf $(BUILD_DIR)/distcheck && mkdir -p $(BUILD_DIR)/distcheck
	tar -xzf $(BUILD_DIR)/$(DIST).tar.gz -C $(BUILD_DIR)/distcheck
	$(MAKE) -C $(BUILD_DIR)/distcheck/$(DIST) test

# The Debian package, made from the release tarball in a brand-new Debian 12
# and checked there (lintian, autopkgtest, install and purge; DEB_CHECKS=no
# skips them); check-deb then installs and runs the same .deb in brand-new
# Debian 12, 13 and unstable.
DEB_DIR     ?= $(BUILD_DIR)/deb
DEB_SUITES  ?= bookworm trixie sid
DEB_CHECKS  ?= yes
deb: dist
	DEB_CHECKS=$(DEB_CHECKS) scripts/debian/package.sh build $(BUILD_DIR)/$(DIST).tar.gz $(DEB_DIR) $(CHROOTS)

check-deb:
	scripts/debian/package.sh check $(DEB_DIR) $(CHROOTS) $(DEB_SUITES)

# The files of a release in one folder, with their sums: the tarball, the
# Debian source and binary packages, the Windows zip and MSI, the page's
# files in a zip and the page in one file, each made by its own target.
# check-reproducible makes it twice in fresh clones and compares.
release: dist deb msi web
	scripts/release/collect.sh $(RELEASE_DIR) $(VERSION) $(BUILD_DIR)/$(DIST).tar.gz $(DEB_DIR) \
		$(WIN_ZIP) $(WIN_MSI) $(WEB_DIR)

check-reproducible:
	scripts/release/check-reproducible.sh $(BUILD_DIR)/reproducible $(CHROOTS)

# A picture of a run, made without a desktop, for the README.
demo:
	@$(DEPS) $(DEMO_PKGS)
	@$(MAKE) --no-print-directory with-tests build
	$(BUILD_DIR)/tests/screenshot $(DEMO_SECONDS) >$(BUILD_DIR)/screenshot.ppm
	pnmtopng $(BUILD_DIR)/screenshot.ppm >docs/screenshot.png
	@echo "wrote docs/screenshot.png"

# One table: a step's cost, whole and unseen, then the program for about 70 s
# each under Xvfb and in a headless sway, bursts of pointer motion drained,
# and the page in Chromium under Xvfb; then the page's own in headless
# Chromium: its cost beside a bare canvas's at x1 and x100, paused, its pace
# at each speed, x10,000 to 10^8 samples, and x10,000 and x100 with its CPU
# slowed four times.
bench: web
	@$(DEPS) $(BENCH_PKGS) chromium chromium-driver python3-selenium python3-websocket python3-psutil
	@$(MAKE) --no-print-directory with-tests CONFIG=-DQUORVEL_BENCHMARKS=ON
	$(CMAKE) --build $(BUILD_DIR) -j2 --target bench
	bench/run.sh $(BUILD_DIR) $(WEB_DIR)

# The random numbers where the band is narrower than the board's flaw: the
# program's sampling to 10^8, 10^9 and 10^10 samples over many seeds, with the
# page's rand (Emscripten's, in Node) and the desktop's (glibc's); about half
# an hour of one core, shared over two.
bench-generator:
	@$(DEPS) $(BUILD_PKGS) emscripten python3
	bench/generator.py $(BUILD_DIR)/generator

# The unit, driver and end-to-end tests built with ASan, LSan and UBSan, then
# the ordinary build under valgrind's memcheck for a 5 s run.
SANITIZE_CONFIG := -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$(SANITIZERS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZERS)" -DCMAKE_MODULE_LINKER_FLAGS="$(SANITIZERS)"
sanitize: build
	@$(DEPS) $(SANITIZE_PKGS)
	$(CMAKE) -S . -B $(SANITIZE_DIR) $(SANITIZE_CONFIG) >/dev/null
	$(CMAKE) --build $(SANITIZE_DIR) -j2
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) $(CTEST) --output-on-failure -j2 -L 'unit|driver|e2e'
	scripts/memcheck.sh $(BUILD_DIR)/quorvel tests/valgrind.supp 5

# clang-tidy, cppcheck, the layout .clang-format asks for, and a licence for
# every file (scripts/lint.sh).
lint:
	@$(DEPS) $(LINT_PKGS)
	@$(MAKE) --no-print-directory with-tests CONFIG="-DQUORVEL_BENCHMARKS=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON"
	scripts/lint.sh $(BUILD_DIR) $(SOURCES)

format:
	clang-format -i $(SOURCES)

# The catalogues' template, for translators, made anew from the sources.
pot:
	@$(DEPS) gettext appstream python3
	scripts/translations/template.sh po/quorvel.pot

# PREFIX (default /usr/local) and DESTDIR work as usual; give uninstall the
# same DESTDIR as install.
install: build
	DESTDIR="$(DESTDIR)" $(CMAKE) --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall.sh $(BUILD_DIR)/install_manifest.txt

clean:
	-$(CMAKE) --build $(BUILD_DIR) --target clean

# build/chroots may hold a chroot whose mounts outlived a killed run.
distclean:
	rm -rf --one-file-system $(BUILD_DIR) $(SANITIZE_DIR) $(WIN_DIR) $(WEB_DIR) $(WEB_BUILD) $(WEB_DIR)-audit $(WEB_DIR)-axe
