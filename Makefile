# The two commands: `make play` builds and starts the game, `make test` builds and runs every
# test. Both install the Debian packages that are missing first. `make bench` measures the
# game beside the machine's floors (a few minutes; never part of `make test`).
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test bench build deps-play deps-test sheet clean

play: deps-play build
	cd $(BUILD)/game && ./pitlorex

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The benchmark's table; BENCH_ARGS passes options (--no-window, --games N, --full-pauses).
bench: deps-test build
	$(BUILD)/tools/bench/bench $(BENCH_ARGS)

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

deps-play:
	tools/install-deps.sh play

deps-test:
	tools/install-deps.sh test

# The contact sheet of every tile, object, area and the title: build/contact_sheet.png
sheet: deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) --target contact_sheet

clean:
	rm -rf $(BUILD)
