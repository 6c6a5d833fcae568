# Two commands for everyday use; see README.md.
BUILD_DIR ?= build
EXAMPLE   ?= examples/cantilever-sheet-pile-py-curves.tq4d
JOBS      ?= 2
PREFIX    ?= /usr/local

# Whether ccache is there is decided when configuring, after the install
# step: deciding it when the Makefile is read would see a fresh machine
# without ccache, and the second configure would then change the compiler
# launcher and rebuild everything.
CMAKE_LAUNCHER = $$(command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build run test test-sanitize format-check docs install package fuzz fuzz-ci clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/terraq run $(EXAMPLE)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@scripts/check-format.sh

# The layout of the C++ lines changed on this branch (see .clang-format);
# scripts/check-format.sh --fix reformats them.
format-check:
	@scripts/check-format.sh

# The manuals and help pages (build/bin/doc/) with fresh screenshots of the
# program, taken under Xvfb by the window tests.
docs: build
	@scripts/make-doc-screenshots.sh $(BUILD_DIR)
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target docs

# Installs the programs, the engine, the samples, the documents and the
# desktop integration under PREFIX (DESTDIR is honoured for staging). Outside
# a staging install the desktop's caches of that prefix are refreshed, so the
# menu entry and the file types take effect at once (no icon cache is made:
# a stale one would hide icons installed later).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	@if [ -z "$${DESTDIR:-}" ]; then \
	    ! command -v update-mime-database >/dev/null 2>&1 || update-mime-database $(PREFIX)/share/mime; \
	    ! command -v update-desktop-database >/dev/null 2>&1 || update-desktop-database -q $(PREFIX)/share/applications; \
	fi

# The Debian package, in $(BUILD_DIR): terraq_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD_DIR) --target package

# The sanitizer tree, build-sanitize: everything built by clang with the
# address and undefined-behaviour sanitizers (every fault fatal) at -O1, and
# with the fuzzer's coverage feedback, so that the fuzz targets link the
# very libraries the tests run. Line tables only: readable stack traces at
# a fraction of full debug information's build time. The manuals are left to
# the ordinary build (make test checks them): building them here would only
# run the document tool slowly.
SANITIZE_DIR := build-sanitize
SANITIZE_CONFIGURE = cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=None \
	-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
	-DTERRAQ_SANITIZE=ON -DTERRAQ_FUZZ=ON -DTERRAQ_BENCH=OFF -DTERRAQ_DOCS=OFF $(CMAKE_LAUNCHER) >/dev/null
# A report stops the program that made it, with the stack of every frame.
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer-leaks.supp:print_suppressions=0

# The whole test suite in the sanitizer tree.
test-sanitize:
	@scripts/install-deps.sh fuzz
	@$(SANITIZE_CONFIGURE)
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# The fuzz targets (tests/fuzz) and a session of each, one after the other:
# FUZZ_SECONDS per target (24 s: about five minutes for all thirteen).
# FUZZ_TARGET picks some: make fuzz FUZZ_TARGET=evaluator FUZZ_SECONDS=600.
# New inputs go to build-sanitize/corpus/<target>, faults to
# build-sanitize/artifacts. Inputs grow to FUZZ_MAX_LEN bytes: without it
# libFuzzer stops at the largest seed, far below a full-size data file (a
# full earth-pressure table, hundreds of curves, five full stages) or the
# plot file of five stages (300 KB); the largest seeds are of that size.
# FUZZ_PARALLEL sessions run at once (fuzz-ci: one per core).
FUZZ_TARGETS := engine_input datafile evaluator convert staged plotfile design studypart sections \
	projectfile studytext subgrade measurements
FUZZ_TARGET   ?= $(FUZZ_TARGETS)
FUZZ_SECONDS  ?= 24
FUZZ_MAX_LEN  ?= 393216
FUZZ_PARALLEL ?= 1

fuzz:
	@scripts/install-deps.sh fuzz
	@$(SANITIZE_CONFIGURE)
	@cmake --build $(SANITIZE_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGET))
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_MAX_LEN=$(FUZZ_MAX_LEN) \
	    scripts/run-fuzzers.sh $(SANITIZE_DIR) $(FUZZ_PARALLEL) $(FUZZ_TARGET)

# Continuous integration's short pass: half a minute of each target over the
# kept corpus, as many at once as there are cores.
fuzz-ci:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=30 FUZZ_PARALLEL=$(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-fuzz
