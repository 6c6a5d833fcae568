# Two commands for everyday use; see README.md.
BUILD_DIR ?= build
EXAMPLE   ?= examples/cantilever-sheet-pile-py-curves.tq4d
JOBS      ?= 2

# Whether ccache is there is decided when configuring, after the install
# step: deciding it when the Makefile is read would see a fresh machine
# without ccache, and the second configure would then change the compiler
# launcher and rebuild everything.
CMAKE_LAUNCHER = $$(command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build run test fuzz clean

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

# Sanitizer build and a short fuzzing session of the engine's input reading.
fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DTERRAQ_FUZZ=ON -DTERRAQ_SANITIZE=ON $(CMAKE_LAUNCHER) >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_engine_input
	mkdir -p build-fuzz/corpus
	cp tests/data/*.tq4d examples/*.tq4d build-fuzz/corpus/ 2>/dev/null || true
	build-fuzz/bin/fuzz_engine_input -max_total_time=$${FUZZ_SECONDS:-120} -timeout=10 \
	    -close_fd_mask=1 -dict=tests/fuzz/engine_input.dict build-fuzz/corpus

clean:
	rm -rf $(BUILD_DIR) build-fuzz
