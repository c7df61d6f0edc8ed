# Quick start: `make run` plays the game, `make test` runs every test headless.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# The unit tests again under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
ASAN ?= $(BUILD)-asan
ASAN_TESTS = rules_tests platform_tests render_tests sound_tests controls_tests shell_tests odds_tests \
  views_tests

.PHONY: run test build deps configure install package asan fuzz bench pictures references format clean

run: build
	./$(BUILD)/tessaline

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE e2e
	cd $(BUILD) && ctest --output-on-failure -L e2e
	$(MAKE) --no-print-directory asan
	$(MAKE) --no-print-directory fuzz

deps:
	@bash scripts/install-deps

# Line tables only (-g1): enough for a debugger's backtrace and a profile, at a fraction of the
# compile time of full debugging information.
configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DKENO_WERROR=ON -DKENO_TESTS=ON \
	  -DKENO_BENCH=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The game and its odds program in $(PREFIX)/games, its menu entry, icons, metainfo and manual
# pages under $(PREFIX)/share (DESTDIR is honoured); stripped, since a player has no use for the
# debugging information.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The Debian package, built by dpkg-buildpackage from debian/ with the distribution's flags, in
# $(BUILD)/: the .deb, its debug symbols, the .changes and the .buildinfo.
package: deps
	@bash scripts/build-package $(BUILD)

# Only the test programs, at -O1, and any sanitizer report fails its test: nothing recovers.
# Built with clang, so every source and test also compiles cleanly with the second compiler.
# Window surfaces go straight to the framebuffer, as the game sets it, so no GL driver is loaded
# in tests that open windows without the game's start-up (the driver keeps blocks LeakSanitizer
# reports, and unloads itself before it can be named).
asan: deps
	@CXX=clang++ cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Sanitize -DKENO_WERROR=ON -DKENO_TESTS=ON \
	  -DKENO_BENCH=OFF -DCMAKE_CXX_FLAGS="-O1 -g1 -fno-omit-frame-pointer \
	  -fsanitize=address,undefined -fno-sanitize-recover=all" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(ASAN) -j $(JOBS) --target $(ASAN_TESTS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  SDL_FRAMEBUFFER_ACCELERATION=0 ctest --output-on-failure -j $(JOBS) -LE "e2e|install"

# The save-file loader under libFuzzer with address and undefined-behaviour sanitizers; its seeds
# are written by keno-tool, built first.
fuzz: configure
	@cmake --build $(BUILD) -j $(JOBS) --target keno-tool
	@KENO_TOOL=$(BUILD)/keno-tool bash scripts/run-fuzz

bench: build
	@for b in $(BUILD)/*_bench; do $$b; done
	@bash bench/measure-game.sh $(BUILD)

# Whole frames rendered headless to build/pictures/*.png, for looking at the board.
pictures: build
	@mkdir -p $(BUILD)/pictures
	@./$(BUILD)/board_pictures $(BUILD)/pictures

# The view tests' references rewritten from the board as it is drawn now, after an intended
# change: read `git diff tests/views/references` (and make pictures) before committing them.
references: build
	@KENO_WRITE_REFERENCES=1 ./$(BUILD)/views_tests --gtest_brief=1

# Every C++ file as the repository's .clang-format lays it out (make test checks it too).
format: deps
	@tests/check-format .

clean:
	rm -rf $(BUILD) $(ASAN) build-fuzz
