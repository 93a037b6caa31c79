# The README's two commands, `make run` and `make test`, do everything on a
# fresh Debian 12 machine: install what is missing, configure, build, then
# run the program or the whole test suite.
PRESET ?= release
BUILD  := build/$(PRESET)
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 600

.PHONY: all deps configure build run showcase test package bench fuzz soak format clean windows test-windows web serve-web test-web

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@scripts/run-program $(BUILD)

showcase: build
	@cd $(BUILD)/bin && ./tolvar-showcase

test: build
	@scripts/with-display ctest --preset $(PRESET)

# The Debian package build/release/skitterwind_<version>_amd64.deb: only what
# it installs is built.
package: PRESET = release
package: configure
	@cmake --build --preset $(PRESET) --target skitterwind game_data dist_files
	@cd $(BUILD) && cpack -G DEB

bench: PRESET = release
bench: build
	@scripts/run-benchmarks $(BUILD)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# The 64-bit Windows zip, cross-built with MinGW-w64 (README, "Windows"),
# and its tests under Wine.
windows:
	@scripts/install-deps windows
	@scripts/build-windows

test-windows:
	@scripts/install-deps windows
	@scripts/build-windows tests
	@scripts/test-windows

# The browser build in build/web (README, "Browser"), a local server for
# it, and its tests: the suites under Node and the page in headless Chromium.
web:
	@scripts/install-deps web
	@scripts/build-web

serve-web: web
	@scripts/serve-web

test-web:
	@scripts/install-deps web
	@scripts/build-web tests
	@scripts/test-web

soak: deps
	@scripts/soak $(SOAK_SECONDS)

# Re-records tests/replays/ (after a rule was changed on purpose).
.PHONY: replays
replays: build
	@scripts/record-replays $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
