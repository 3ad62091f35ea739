# Two commands do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, opens the window
#   make test   installs what is missing, builds (the browser page too), runs every test
PRESET ?= default
# WERROR=ON makes every compiler warning an error (CI sets it).
WERROR ?= OFF

.PHONY: deps build run test format package sanitize fuzz bench web web-test clean

deps:
	./scripts/install-deps

build: deps
	cmake --preset $(PRESET) -DKELVANE_WERROR=$(WERROR)
	cmake --build --preset $(PRESET)

run: build
	./build/$(PRESET)/app/kelvane

# The browser page's tests are among them: the page is built first.
test: build web
	ctest --preset $(PRESET)

# Formats every C++ file as .clang-format says (scripts/check-format checks).
format: deps
	./scripts/check-format --fix

# The Debian package, and what it holds and depends on; it carries the
# browser page when make web has built it.
package: build
	cd build/$(PRESET) && cpack -G DEB
	dpkg-deb --info build/$(PRESET)/kelvane_*.deb
	dpkg-deb --contents build/$(PRESET)/kelvane_*.deb

# Everything but the window, and its tests, under AddressSanitizer and
# UndefinedBehaviorSanitizer, built by clang: the second compiler, with
# WERROR=ON its warnings are errors too. The browser's tests are left out:
# they run once, in make test.
sanitize: deps
	cmake --preset sanitize -DKELVANE_WERROR=$(WERROR)
	cmake --build --preset sanitize
	ctest --preset sanitize

# The libFuzzer targets, each for FUZZ_SECONDS (60 by default); they come
# from the same build as make sanitize.
fuzz: deps
	cmake --preset sanitize -DKELVANE_WERROR=$(WERROR)
	cmake --build --preset sanitize
	./scripts/run-fuzzers

bench: deps
	cmake --preset release
	cmake --build --preset release --target kelvane-bench kelvane-batch-bench kelvane-ledger-bench kelvane-ui-bench kelvane-startup-probe
	./build/release/bench/kelvane-bench
	./build/release/bench/kelvane-batch-bench
	./build/release/bench/kelvane-ledger-bench
	./build/release/bench/kelvane-ui-bench
	./scripts/measure-startup build/release
	./scripts/measure-web build/release

# The browser page: build/web/kelvane.html, one file that opens offline, and
# build/web/site/ (index.html, kelvane.js, kelvane.wasm) for a web server.
web:
	./scripts/install-deps --web
	cmake --preset web
	cmake --build --preset web

# Only the page's tests of make test: in headless Chromium against
# kelvane-replay of the desktop build, and the lint of its script (the tests
# labelled web; their set-up runs npm ci in tests/web when needed).
web-test: web deps
	cmake --preset $(PRESET) -DKELVANE_WERROR=$(WERROR)
	cmake --build --preset $(PRESET) --target kelvane-replay
	ctest --preset $(PRESET) -L web

clean:
	rm -rf build
