# The two commands: `make play` builds and starts the game, `make test` builds and runs every
# test. Both install the Debian packages that are missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test build deps-play deps-test sheet levels-sheet clean

play: deps-play build
	cd $(BUILD)/game && ./pitlorex

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

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

# Every level as the game draws it, at half size, with its checker figures:
# build/levels_sheet.png
levels-sheet: deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) --target levels_sheet_png

clean:
	rm -rf $(BUILD)
