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

.PHONY: all deps configure build run test format-check docs install package fuzz clean

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

# Sanitizer builds of the fuzz targets and a short session of each, one after
# the other: FUZZ_SECONDS per target (24 s: about three minutes for
# all nine). FUZZ_TARGET picks some: make fuzz FUZZ_TARGET=evaluator
# FUZZ_SECONDS=600. New inputs go to build-fuzz/corpus/<target>, faults to
# build-fuzz/artifacts. Inputs grow to FUZZ_MAX_LEN bytes: without it
# libFuzzer stops at the largest seed, far below a full-size data file (a
# full earth-pressure table, hundreds of curves, five full stages) or the
# plot file of five stages (300 KB); the largest seeds are of that size.
FUZZ_TARGETS := engine_input datafile evaluator convert staged plotfile design studypart sections
FUZZ_TARGET  ?= $(FUZZ_TARGETS)
FUZZ_SECONDS ?= 24
FUZZ_MAX_LEN ?= 393216

fuzz:
	@scripts/install-deps.sh fuzz
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DTERRAQ_FUZZ=ON -DTERRAQ_SANITIZE=ON -DTERRAQ_TESTS=OFF -DTERRAQ_BENCH=OFF $(CMAKE_LAUNCHER) >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGET))
	@rm -rf build-fuzz/seeds && mkdir -p build-fuzz/seeds build-fuzz/artifacts
	@cp tests/data/*.tq4d examples/*.tq4d tests/data/fuzz-seeds/*.tq4d build-fuzz/seeds/
	@rm -rf build-fuzz/plot-seeds && mkdir -p build-fuzz/plot-seeds
	@cp tests/data/*.tq4p tests/data/fuzz-seeds-plot/*.tq4p build-fuzz/plot-seeds/
	@set -e; for t in $(FUZZ_TARGET); do \
	    dict=tests/fuzz/engine_input.dict; seeds=build-fuzz/seeds; \
	    case $$t in \
	      evaluator) dict=tests/fuzz/evaluator.dict; seeds=tests/data/fuzz-seeds-evaluator ;; \
	      convert|staged) seeds="$$seeds tests/data/fuzz-seeds-older" ;; \
	      plotfile) dict=tests/fuzz/plot_file.dict; seeds=build-fuzz/plot-seeds ;; \
	      studypart) dict=tests/fuzz/study_part.dict; seeds=tests/data/fuzz-seeds-studypart ;; \
      sections) dict=tests/fuzz/sections.dict; seeds="tests/data/fuzz-seeds-sections resources/sections" ;; \
	    esac; \
	    mkdir -p build-fuzz/corpus/$$t; \
	    echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	    build-fuzz/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=$(FUZZ_MAX_LEN) -timeout=10 \
	        -close_fd_mask=1 -artifact_prefix=$(CURDIR)/build-fuzz/artifacts/$$t- -dict=$$dict \
	        build-fuzz/corpus/$$t $$seeds; \
	done

clean:
	rm -rf $(BUILD_DIR) build-fuzz
