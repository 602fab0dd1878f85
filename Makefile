# The README's two commands:
#   make demo   installs what is missing, builds, sets up a demonstration directory and
#               starts qxmora in it
#   make test   installs what is missing, builds, and runs every test (also the unit tests
#               again under AddressSanitizer and UndefinedBehaviorSanitizer)
# Other targets: build, bench, clean.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps build build-asan test test-main test-asan demo bench clean

all: build

deps:
	@scripts/install-deps

# Configuring every time is cheap and picks up directories that appeared since.
build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DQX_WERROR=ON $(CMAKE_ARGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DQX_WERROR=ON -DQX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS) >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  ctest --output-on-failure -j $(JOBS) -L unit

test: test-main test-asan

demo: build
	@scripts/demo

bench: build
	@scripts/bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
