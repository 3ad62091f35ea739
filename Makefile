# Two commands do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, opens the window
#   make test   installs what is missing, builds, runs every test
PRESET ?= default

.PHONY: deps build run test sanitize fuzz bench clean

deps:
	./scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	./build/$(PRESET)/app/kelvane

test: build
	ctest --preset $(PRESET)

# Core, form and their tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

# The libFuzzer targets, each for FUZZ_SECONDS (60 by default).
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	./scripts/run-fuzzers

bench: deps
	cmake --preset release
	cmake --build --preset release --target kelvane-bench
	./build/release/bench/kelvane-bench

clean:
	rm -rf build
