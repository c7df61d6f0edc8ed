# Quick start: `make run` plays the game, `make test` runs every test headless.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test build deps configure install package fuzz bench pictures clean

run: build
	./$(BUILD)/tessaline

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE e2e
	cd $(BUILD) && ctest --output-on-failure -L e2e
	$(MAKE) --no-print-directory fuzz

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKENO_WERROR=ON -DKENO_TESTS=ON \
	  -DKENO_BENCH=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The game, its odds program, menu entry, icons, metainfo and manual pages under $(PREFIX)
# (DESTDIR is honoured); stripped, since a player has no use for the debugging information.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# A Debian package of the same files, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# The save-file loader under libFuzzer with address and undefined-behaviour sanitizers.
fuzz: deps
	@bash scripts/run-fuzz

bench: build
	@for b in $(BUILD)/*_bench; do $$b; done

# Whole frames rendered headless to build/pictures/*.png, for looking at the board.
pictures: build
	@mkdir -p $(BUILD)/pictures
	@./$(BUILD)/board_pictures $(BUILD)/pictures

clean:
	rm -rf $(BUILD) build-fuzz
