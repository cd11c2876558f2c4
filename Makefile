# The two commands: `make test` and `make demo`. Both install what they need
# first (deps), so they work on a fresh Debian 12 machine.
#
# Three CMake build folders under build/:
#   host   native g++, portable code and its tests under ASan and UBSan
#   win32  mingw-w64 i686: the shipped Pellion.exe, Lexwiz.exe, Lexchk.dll
#   wine   mingw-w64 x86-64 build of the same sources, whose tests run under Wine

BUILD := build
JOBS ?= $(shell nproc)
GENERATOR := -G Ninja

.PHONY: all deps build test demo clean configure

all: build

deps:
	@tools/deps.sh

$(BUILD)/host/build.ninja:
	cmake -S . -B $(BUILD)/host $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug

$(BUILD)/win32/build.ninja:
	cmake -S . -B $(BUILD)/win32 $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/win32-toolchain.cmake

$(BUILD)/wine/build.ninja:
	cmake -S . -B $(BUILD)/wine $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/wine-toolchain.cmake

configure: $(BUILD)/host/build.ninja $(BUILD)/win32/build.ninja $(BUILD)/wine/build.ninja

build: deps configure
	cmake --build $(BUILD)/host -j $(JOBS)
	cmake --build $(BUILD)/win32 -j $(JOBS)
	cmake --build $(BUILD)/wine -j $(JOBS)

# Every suite runs even when an earlier one fails; the exit code reports any failure.
test: build
	@status=0; \
	for dir in host win32 wine; do \
	    echo "== tests: $$dir"; \
	    ctest --test-dir $(BUILD)/$$dir --output-on-failure -j $(JOBS) || status=1; \
	done; \
	exit $$status

demo: build
	@tools/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
