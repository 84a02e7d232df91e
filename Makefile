# Pelodyn's build entry points. Every target installs what it needs first.
#   make run      install, build, and run Pelodyn on the bundled example
#   make test     install, build, and pass every test (format check included); then
#                 build and test the core alone, without Qt, in $(BUILD)-core
#   make test-core the core alone (-DPELODYN_BUILD_GUI=OFF), built and tested in $(BUILD)-core
#   make sanitize the test suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   make bench    the benchmarks, in a Release build
#   make package  the Debian package (pelodyn_*.deb), in a Release build
#   make fuzz     the libFuzzer targets of tests/fuzz (clang), in $(BUILD)-fuzz; FUZZ_SECONDS=n runs each for n s
JOBS ?= 2
BUILD ?= build
GUI ?= ON
CMAKE_FLAGS = -G Ninja -DPELODYN_BUILD_GUI=$(GUI)
SOURCES = $(shell find src app tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null | grep -v '^tests/fuzz/corpus')

FUZZ_SECONDS ?= 0

.PHONY: deps build run test test-core format-check format sanitize bench package fuzz clean

deps:
	scripts/install-deps $(if $(filter OFF,$(GUI)),--core,)

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ "$(GUI)" = ON ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  $(BUILD)/app/gui/pelodyn examples/layered-phreatic-loads.pdd; \
	else \
	  echo "No display is available: analysing the bundled examples with pelodyn-cli instead of opening the window."; \
	  $(BUILD)/app/cli/pelodyn-cli analyse --summary $(BUILD)/examples-summary.txt examples/*.pdd && \
	  cat $(BUILD)/examples-summary.txt; \
	fi

format-check: deps
	clang-format --dry-run --Werror $(SOURCES)

format:
	clang-format -i $(SOURCES)

test: build format-check
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@if [ "$(GUI)" = ON ]; then $(MAKE) --no-print-directory test-core; fi

# The core builds and passes its tests with no Qt at all: a Qt include below
# the Qt line fails here.
test-core:
	scripts/install-deps --core
	cmake -S . -B $(BUILD)-core -G Ninja -DPELODYN_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)-core -j $(JOBS)
	cd $(BUILD)-core && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(BUILD)-asan $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DPELODYN_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-release $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DPELODYN_BUILD_BENCH=ON -DPELODYN_BUILD_TESTS=OFF
	cmake --build $(BUILD)-release -j $(JOBS)
	for b in $(BUILD)-release/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

package: deps
	cmake -S . -B $(BUILD)-package $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DPELODYN_BUILD_TESTS=OFF
	cmake --build $(BUILD)-package -j $(JOBS)
	cd $(BUILD)-package && cpack -G DEB
	@ls $(BUILD)-package/pelodyn_*.deb

fuzz:
	scripts/install-deps --core --fuzz
	CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DPELODYN_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELODYN_FUZZ=ON -DPELODYN_BUILD_TESTS=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	if [ "$(FUZZ_SECONDS)" -gt 0 ]; then tests/fuzz/run.sh $(BUILD)-fuzz $(FUZZ_SECONDS); fi

clean:
	rm -rf $(BUILD) $(BUILD)-core $(BUILD)-asan $(BUILD)-release $(BUILD)-package $(BUILD)-fuzz
