# Thin wrapper over the CMake presets. Each target installs what it needs (only when absent).
.PHONY: all deps build test test-asan fuzz bench run clean windows test-windows package

all: build

deps:
	@tools/install-deps.sh core qt desktop

build: deps
	cmake --preset default
	cmake --build --preset default

# The default build's Wine log-in test types into a program of the windows build; the package tests
# check the installers that `package` builds.
test: package
	ctest --preset default
	$(MAKE) test-asan
	$(MAKE) fuzz
	$(MAKE) test-windows

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Short, bounded libFuzzer runs; any crash or sanitizer report fails.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	tools/run-fuzzers.sh build-fuzz/fuzz

bench: build
	@for b in build/bench/*; do [ -x "$$b" ] && "$$b"; done

run: build
	@tools/run.sh

# Windows programs, cross-compiled with mingw-w64 into build-win/bin/.
windows:
	@tools/install-deps.sh windows
	cmake --preset windows
	cmake --build --preset windows

# The Windows build's tests, under Wine, in a private Wine prefix with its own Xvfb display.
test-windows: windows
	@tools/install-deps.sh desktop
	platform/win32/tests/wine-session.sh build-win/wineprefix build-win/tests/tarvex_driver.exe \
	  ctest --preset windows

# The installers: build/tarvex_<version>_amd64.deb and build-win/Tarvex-<version>-setup.exe.
package: build windows
	@tools/install-deps.sh package
	cmake --build --preset default --target package
	cmake --build --preset windows --target installer

clean:
	rm -rf build build-asan build-fuzz build-win
