# Vornel: set-up, build, run and test. `make run` and `make test` do everything on a fresh
# Debian machine, installing missing packages first.

MAKEFLAGS += --no-print-directory

JOBS      ?= $(shell nproc)
BUILD     := build
ASAN      := build-asan
GAME      := $(BUILD)/bin/vornel

TSAN      := build-tsan
BENCH     := build-bench
FUZZ      := build-fuzz
WEB       := build-web
DEB       := build-deb

# make install: where the game goes; DESTDIR (given to make) stages the whole tree elsewhere.
PREFIX    ?= /usr/local

# make fuzz: each target runs this many seconds.
FUZZ_SECONDS ?= 60
FUZZERS      := bank decoder jpeg font wav settings script demo

.PHONY: all deps build run install test test-asan test-tsan fuzz bench soak web run-web test-web bench-web deb clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@exec $(GAME)

# The game folder PREFIX/lib/vornel (the executable and its data), the launcher link
# PREFIX/bin/vornel, the desktop entry, the icons and the README; see cmake/VornelInstall.cmake.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

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

# Every loader of outside data under libFuzzer with AddressSanitizer and UBSan, built with clang
# in its own folder. Each target runs FUZZ_SECONDS seconds on its corpus in $(FUZZ)/corpus/,
# which starts from the seeds made from the game's data files and keeps what the fuzzer adds.
# The loaders' own messages are silenced (-close_fd_mask); the sanitizers' reports are not.
# Fails when any target found a crash, a leak, a timeout or undefined behaviour; the input
# that caused it is left in $(FUZZ)/crashes/TARGET/.
fuzz: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DVORNEL_FUZZ=ON -DVORNEL_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target vornel_art_bank vornel_font_file vornel_sound_files vornel_fuzzers
	@failed=""; \
	for target in $(FUZZERS); do \
	  mkdir -p $(FUZZ)/corpus/$$target $(FUZZ)/crashes/$$target; \
	  cp -n $(FUZZ)/seeds/$$target/* $(FUZZ)/corpus/$$target/; \
	  echo "fuzz: $$target for $(FUZZ_SECONDS) s"; \
	  $(FUZZ)/fuzzers/fuzz-$$target -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix=$(FUZZ)/crashes/$$target/ \
	    $(FUZZ)/corpus/$$target > $(FUZZ)/fuzz-$$target.log 2>&1 || failed="$$failed $$target"; \
	  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' $(FUZZ)/fuzz-$$target.log; \
	done; \
	if [ -n "$$failed" ]; then \
	  echo "fuzz: findings in$$failed (logs $(FUZZ)/fuzz-TARGET.log, inputs in $(FUZZ)/crashes/)" >&2; exit 1; \
	fi

# The drawing benchmarks against pixman and SDL2, in a Release build of their own: the
# benchmarks' own tests first, then a table with one case a row and last the summary line
# "bench: worst_vs_pixman=X worst_vs_sdl=Y frame_us=Z play_frame_us=W timedemo_fps=F
# timedemo_vs_play_frame=R latency_p99_ms=L", where the timedemo is the whole game, the golden
# demo of a game on Hard, R its time a frame in play frames, and L the 99th percentile of the keys'
# latency in a game in a window on SDL's dummy driver in real time (some 25 s).
bench: deps
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DVORNEL_BENCH=ON -DVORNEL_TESTS=OFF >/dev/null
	@cmake --build $(BENCH) -j $(JOBS) --target vornel-bench vornel-bench-tests vornel vornel_art_bank vornel_font_file \
		vornel_sound_files vornel_text_files
	@out=$$($(BENCH)/bench/vornel-bench-tests --gtest_brief=1 2>&1) || { echo "$$out"; exit 1; }; \
	echo "bench tests: $$(echo "$$out" | tail -n 1)"
	@$(BENCH)/bench/vornel-bench $(BENCH)/bin --timedemo $(BENCH)/bin/vornel tests/demos/hard-game.vdm

# The browser build in $(WEB)/ with Debian's emscripten (the native build makes the data files
# first): libjpeg-turbo for wasm from Debian's source package, fetched once into $(WEB)/jpeg/,
# then the game and the model tests for Node, and the page's static files in $(WEB)/dist/.
# em++ finds its JavaScript modules through NODE_PATH.
web: build
	@scripts/install-deps.sh web
	@NODE_PATH=/usr/share/nodejs scripts/web-jpeg.sh $(WEB)/jpeg
	@rm -rf $(WEB)/data && mkdir -p $(WEB)/data
	@cp $(BUILD)/bin/app*.bin $(BUILD)/bin/f15.bin $(BUILD)/bin/*.wav $(BUILD)/bin/*.txt $(WEB)/data/
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB) -j $(JOBS)
	@rm -rf $(WEB)/dist && mkdir -p $(WEB)/dist/icons
	@cp web/index.html web/manifest.webmanifest $(WEB)/bin/vornel.js $(WEB)/bin/vornel.wasm $(WEB)/bin/vornel.data $(WEB)/dist/
	@cp $(BUILD)/bin/web-icons/*.png $(WEB)/dist/icons/
	@version=$$($(GAME) --version | cut -d' ' -f2)-$$(cd $(WEB)/dist && cat index.html manifest.webmanifest vornel.js vornel.wasm vornel.data | sha256sum | cut -c1-12); \
		sed "s/@VORNEL_PAGE_VERSION@/$$version/" web/service-worker.js > $(WEB)/dist/service-worker.js

# Serves the page on this machine only, with Python's own static file server.
run-web: web
	@echo "Vornel in the browser: http://127.0.0.1:8000/ (Ctrl+C stops the server)"
	@cd $(WEB)/dist && exec python3 -m http.server 8000 --bind 127.0.0.1 >/dev/null

# The model tests in Node, then the page in Debian's Chromium, headless, driven by
# puppeteer-core (pinned in web/tests/package.json; it never downloads a browser).
test-web: web
	@cd $(WEB) && ctest --output-on-failure
	@cd web/tests && npm ci --no-audit --no-fund >/dev/null
	@cd web/tests && VORNEL_WEB_DIST=$(CURDIR)/$(WEB)/dist VORNEL_GOLDEN_DEMOS=$(CURDIR)/tests/demos \
		VORNEL_PROGRAM=$(CURDIR)/$(GAME) VORNEL_DATA=$(CURDIR)/$(BUILD)/bin node --test

# The page's figures beside the native game's, on this machine (web/tests/figures.js): the
# timedemo of the golden demo of a game on Hard in headless Chromium and in the Release build
# of $(BENCH)/, in turns, how busy the page's thread is while the built-in player plays, the
# key-to-display latency of a stretch of play with real keys, and the page's memory. The last
# line is "bench-web: web_vs_native=X web_busy_pct=Y web_latency_p99_ms=Z wasm_initial_mib=W".
bench-web: web
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DVORNEL_BENCH=ON -DVORNEL_TESTS=OFF >/dev/null
	@cmake --build $(BENCH) -j $(JOBS) --target vornel vornel_art_bank vornel_font_file vornel_sound_files vornel_text_files
	@cd web/tests && npm ci --no-audit --no-fund >/dev/null
	@cd web/tests && VORNEL_WEB_DIST=$(CURDIR)/$(WEB)/dist VORNEL_GOLDEN_DEMOS=$(CURDIR)/tests/demos \
		VORNEL_NATIVE=$(CURDIR)/$(BENCH)/bin/vornel VORNEL_NATIVE_DATA=$(CURDIR)/$(BENCH)/bin node figures.js

# The Debian package vornel_VERSION_ARCH.deb in $(DEB)/, built from a copy of this tree by
# dpkg-buildpackage with the tests (DEB_BUILD_OPTIONS=nocheck skips them), then checked:
# lintian without errors or warnings, and the package unpacked and its game started.
deb: deps
	@scripts/install-deps.sh deb
	@scripts/make-deb.sh $(DEB) $(JOBS)

# Soak: 50 whole games of the built-in player at 200 times real speed, failing when memory
# grows from the first game to the last; then a few games under AddressSanitizer, failing on
# any leak. Each run gives up after ten minutes.
soak: build
	@scripts/soak.sh $(GAME) 50 256
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVORNEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS) --target vornel vornel_art_bank vornel_font_file vornel_sound_files vornel_text_files
	@timeout 600 scripts/leak-soak.sh $(ASAN)/bin/vornel

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(BENCH) $(FUZZ) $(WEB) $(DEB)
