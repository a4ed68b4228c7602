# A thin wrapper around CMake: configure once, then build, run and test.
# Every target first installs the Debian packages it needs that are missing.

BUILD_DIR    ?= build
BUILD_TYPE   ?= RelWithDebInfo
PREFIX       ?= /usr/local
CMAKE        ?= cmake
CTEST        ?= ctest
DEMO_SECONDS ?= 8
DEPS         := scripts/deps.sh

BUILD_PKGS := cmake g++ make pkg-config 'libsdl1.2-compat-dev|libsdl1.2-dev' libsdl-gfx1.2-dev
TEST_PKGS  := $(BUILD_PKGS) libgtest-dev xvfb libx11-dev libxtst-dev desktop-file-utils
DEMO_PKGS  := $(TEST_PKGS) netpbm

.PHONY: all build run test demo install uninstall clean distclean

all: build

$(BUILD_DIR)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_INSTALL_PREFIX=$(PREFIX)

build:
	@$(DEPS) $(BUILD_PKGS)
	@$(MAKE) --no-print-directory $(BUILD_DIR)/CMakeCache.txt
	$(CMAKE) --build $(BUILD_DIR) -j2

run: build
	./$(BUILD_DIR)/quorvel

test:
	@$(DEPS) $(TEST_PKGS)
	@$(MAKE) --no-print-directory build
	cd $(BUILD_DIR) && $(CTEST) --output-on-failure -j2

# A picture of a run, made without a desktop, for the README.
demo:
	@$(DEPS) $(DEMO_PKGS)
	@$(MAKE) --no-print-directory build
	$(BUILD_DIR)/tests/demo $(DEMO_SECONDS) >$(BUILD_DIR)/screenshot.ppm
	pnmtopng $(BUILD_DIR)/screenshot.ppm >docs/screenshot.png
	@echo "wrote docs/screenshot.png"

# PREFIX (default /usr/local) and DESTDIR work as usual; give uninstall the
# same DESTDIR as install.
install: build
	DESTDIR="$(DESTDIR)" $(CMAKE) --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall.sh $(BUILD_DIR)/install_manifest.txt

clean:
	-$(CMAKE) --build $(BUILD_DIR) --target clean

distclean:
	rm -rf $(BUILD_DIR)
