# Thin wrapper over the CMake presets. Each target installs what it needs (only when absent).
.PHONY: all deps build test test-native test-asan fuzz bench run clean

all: build

deps:
	@tools/install-deps.sh core qt

build: deps
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default
	$(MAKE) test-asan
	$(MAKE) fuzz

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

clean:
	rm -rf build build-asan build-fuzz build-win
