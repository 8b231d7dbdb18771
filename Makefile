# The two commands: `make play` builds and starts the game, `make test` builds and runs every
# test. Both install the Debian packages that are missing first. `make bench` measures the
# game beside the machine's floors (a few minutes; never part of `make test`).
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test test-asan bench every-target build build-play deps-play deps-test sheet levels-sheet clean

# Every target says whether it wants the tests, so that one build folder serves play and test
# in any order: the game alone needs only the play packages.
# WERROR=ON (CI) makes every compiler warning an error.
WERROR ?= OFF
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPITLOREX_WERROR=$(WERROR)
CONFIGURE_PLAY = $(CONFIGURE) -DBUILD_TESTING=OFF
CONFIGURE_TEST = $(CONFIGURE) -DBUILD_TESTING=ON

play: deps-play build-play
	cd $(BUILD)/game && ./pitlorex

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder
# of their own; the first report stops the test and fails the run.
ASAN_BUILD ?= build-asan
# The sanitizers' instrumentation makes g++ see values "maybe uninitialized" inside the
# standard library's own headers (std::regex's std::function), which no other build sees.
SANITIZE = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all \
	-Wno-maybe-uninitialized
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# AddressSanitizer holds freed memory back (its quarantine) to catch late uses, so the resident
# size grows by design there; LeakSanitizer checks for leaks in this run instead.
SANITIZER_SKIP = -WholeGame.FiftyGameStartsKeepTheResidentSizeFlat

test-asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
	  -DPITLOREX_WERROR=$(WERROR) \
	  "-DCMAKE_CXX_FLAGS=$(SANITIZE)" "-DCMAKE_C_FLAGS=$(SANITIZE)"
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests
	cd $(ASAN_BUILD)/tests && $(SANITIZER_ENV) ./unit_tests --gtest_brief=1 \
	  --gtest_filter=$(SANITIZER_SKIP)

# The benchmark's table; BENCH_ARGS passes options (--no-window, --games N, --full-pauses).
bench: deps-test
	$(CONFIGURE_TEST)
	cmake --build $(BUILD) -j $(JOBS) --target bench
	$(BUILD)/tools/bench/bench $(BENCH_ARGS)

# Every target beyond what the tests build, as CI checks them: the bench, run once in its short
# form (it judges no speed but fails when a row prints no figure), the contact sheet, the
# levels sheet and the package.
every-target: deps-test
	$(CONFIGURE_TEST)
	cmake --build $(BUILD) -j $(JOBS) --target all bench contact_sheet levels_sheet_png
	$(BUILD)/tools/bench/bench --short
	$(MAKE) package

# Everything the tests need; build-play only the game.
build:
	$(CONFIGURE_TEST)
	cmake --build $(BUILD) -j $(JOBS)

build-play:
	$(CONFIGURE_PLAY)
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

package: deps-package build-play
	rm -f $(BUILD)/deb/pitlorex_*.deb
	cd $(BUILD) && cpack -G DEB -B "$(abspath $(BUILD))/deb"
	cp $(BUILD)/deb/pitlorex_*.deb .

install: deps-play build-play
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

deps-package:
	tools/install-deps.sh package

# The contact sheet of every tile, object, area and the title: build/contact_sheet.png
sheet: deps-play
	$(CONFIGURE_PLAY)
	cmake --build $(BUILD) --target contact_sheet

# Every level as the game draws it, at half size, with its checker figures:
# build/levels_sheet.png
levels-sheet: deps-play
	$(CONFIGURE_PLAY)
	cmake --build $(BUILD) --target levels_sheet_png

# The README's two commands, and every target, on a fresh root of each Debian release
# (debootstrap, as root; see the script). FRESH_RELEASES=trixie checks one.
FRESH_RELEASES ?= bookworm trixie
.PHONY: fresh-check
fresh-check:
	for release in $(FRESH_RELEASES); do tools/fresh-debian.sh $$release || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) pitlorex_*.deb
