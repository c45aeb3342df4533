# SPDX-License-Identifier: MIT
# The two commands for every new user: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
# `make fuzz` fuzzes in FUZZ_FAST_DIR, built with UBSan only (about twice the
# executions a second), then replays every corpus input once through
# FUZZ_DIR, built with AddressSanitizer too. `make fuzz-asan` fuzzes in
# FUZZ_DIR itself.
FUZZ_DIR ?= build-fuzz
FUZZ_FAST_DIR ?= build-fuzz-fast
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= 0
CMAKE_FLAGS ?=
PREFIX ?=

.PHONY: all deps build run demo test unit-test asan-test package install fuzz fuzz-asan fuzz-builds bench screenshot clean

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

run: build
	@scripts/run $(BUILD_DIR)

demo: build
	@scripts/demo $(BUILD_DIR)

test: unit-test asan-test

unit-test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure

# The unit tests once more under AddressSanitizer and UBSan, in a build of their own.
asan-test: deps
	@test -f $(ASAN_DIR)/build.ninja || cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOBX_SANITIZE=ON
	cmake --build $(ASAN_DIR)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_DIR) --output-on-failure

# The Debian package build/tobextractor_VERSION_ARCH.deb; install it with
# `sudo apt install ./build/tobextractor_*.deb`.
package: build
	cmake --build $(BUILD_DIR) --target package

# Installs below /usr/local, or below PREFIX; DESTDIR stages the files elsewhere.
install: build
	cmake --install $(BUILD_DIR) --strip $(if $(PREFIX),--prefix $(PREFIX))

fuzz: fuzz-builds
	scripts/fuzz $(FUZZ_FAST_DIR) $(FUZZ_SECONDS) $(FUZZ_RUNS)
	scripts/fuzz $(FUZZ_DIR) 0

fuzz-asan: fuzz-builds
	scripts/fuzz $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_RUNS)

fuzz-builds:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_FAST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBX_FUZZ=ON -DTOBX_FUZZ_ASAN=OFF -DTOBX_BUILD_GUI=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_FAST_DIR)
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBX_FUZZ=ON -DTOBX_FUZZ_ASAN=ON -DTOBX_BUILD_GUI=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR)

bench: build
	@scripts/install-deps bench
	bench/run $(BUILD_DIR)

screenshot: build
	@scripts/install-deps screenshot
	scripts/screenshot $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(FUZZ_FAST_DIR)
