# The two commands: `make play` builds and starts the game, `make test` builds and runs every
# test. Both install the Debian packages that are missing first. `make package` builds the
# Debian package, `make install` installs from source (PREFIX, DESTDIR).
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: play test build deps-play deps-test deps-package package install sheet clean

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

deps-package:
	tools/install-deps.sh package

# pitlorex_<version>_<arch>.deb in this folder, made by CPack from the build above.
package: deps-package build
	rm -f $(BUILD)/deb/pitlorex_*.deb
	cd $(BUILD) && cpack -G DEB -B "$(abspath $(BUILD))/deb"
	cp $(BUILD)/deb/pitlorex_*.deb .

# The same files as the package, into $(PREFIX) (staged under $(DESTDIR) when it is set).
install: deps-play build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# The contact sheet of every tile, object, area and the title: build/contact_sheet.png
sheet: deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) --target contact_sheet

clean:
	rm -rf $(BUILD) pitlorex_*.deb
