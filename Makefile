# Vornel: set-up, build, run and test. `make run` and `make test` do everything on a fresh
# Debian machine, installing missing packages first.

MAKEFLAGS += --no-print-directory

JOBS      ?= $(shell nproc)
BUILD     := build
ASAN      := build-asan
GAME      := $(BUILD)/bin/vornel

TSAN      := build-tsan

.PHONY: all deps build run test test-asan test-tsan clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(GAME) ]; then exec $(GAME); \
	else echo "vornel: the game is not built yet (only the libraries and tests exist so far)"; exit 1; fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
test-asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVORNEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)
	@cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

# The threaded tests (game, window and audio threads together) under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=Debug -DVORNEL_TSAN=ON >/dev/null
	@cmake --build $(TSAN) -j $(JOBS)
	@cd $(TSAN) && ctest --output-on-failure -j $(JOBS) -L threaded

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN)
