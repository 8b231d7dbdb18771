# The two commands: `make play` builds and starts the game, `make test` builds and runs every
# test. Both install the Debian packages that are missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test build deps-play deps-test sheet clean

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

# `make package` builds the Debian package pitlorex_<version>_<arch>.deb in this folder, made by
# CPack from the build above; `make install` installs the same files from source into PREFIX,
# staged under DESTDIR when it is set.
PREFIX ?= /usr/local
.PHONY: package install deps-package

package: deps-package build
	rm -f $(BUILD)/deb/pitlorex_*.deb
	cd $(BUILD) && cpack -G DEB -B "$(abspath $(BUILD))/deb"
	cp $(BUILD)/deb/pitlorex_*.deb .

install: deps-play build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

deps-package:
	tools/install-deps.sh package

# The contact sheet of every tile, object, area and the title: build/contact_sheet.png
sheet: deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) --target contact_sheet

clean:
	rm -rf $(BUILD) pitlorex_*.deb
