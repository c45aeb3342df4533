# SPDX-License-Identifier: MIT
# The two commands for every new user: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
# FUZZ_ASAN=OFF builds the fuzz targets with UBSan only, in build-fuzz-fast:
# about twice the executions a second, for long runs whose corpus is then
# replayed through the AddressSanitizer build (FUZZ_SECONDS=0).
FUZZ_ASAN ?= ON
FUZZ_DIR ?= $(if $(filter OFF,$(FUZZ_ASAN)),build-fuzz-fast,build-fuzz)
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= 0
CMAKE_FLAGS ?=
PREFIX ?=

.PHONY: all deps build run demo test unit-test asan-test package install fuzz bench screenshot clean

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

fuzz:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBX_FUZZ=ON -DTOBX_FUZZ_ASAN=$(FUZZ_ASAN) -DTOBX_BUILD_GUI=OFF
	cmake --build $(FUZZ_DIR)
	scripts/fuzz $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_RUNS)

bench: build
	@scripts/install-deps bench
	bench/run $(BUILD_DIR)

screenshot: build
	@scripts/install-deps screenshot
	scripts/screenshot $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
