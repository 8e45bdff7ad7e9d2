# Quorvin: `make run` starts the program, `make test` runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-interop test-asan fuzz bench debug clean

all: build

deps:
	@tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/quorvin $(ARGS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Files exchanged with the peer spreadsheets (installs them first).
test-interop: build
	@tools/install-deps --interop
	@$(BUILD_DIR)/tests/test_interop

# Every test program under AddressSanitizer (leaks included, with whole stacks
# so that a leak inside a library is told by its caller), in build-asan.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVIN_SANITIZE=ON > /dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && export LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp ASAN_OPTIONS=fast_unwind_on_malloc=0 SDL_VIDEODRIVER=dummy && \
	  for t in tests/test_*; do [ -x "$$t" ] || continue; echo "== $$t"; $$t --gtest_brief=1 || exit 1; done
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

# The libFuzzer harnesses (clang; address and undefined-behaviour checks), in
# build-fuzz: each runs FUZZ_SECONDS from seeds written by fuzz_seeds.
fuzz: deps
	@tools/install-deps --fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVIN_FUZZ=ON > /dev/null
	@ASAN_OPTIONS=detect_leaks=0 cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@tools/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks quorvin sheetconv
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b; done
	@bench/startup_to_splash.sh 5 $(BUILD_DIR)/quorvin || [ $$? -eq 77 ]
	@bench/startup_to_document.sh 5 $(BUILD_DIR)/quorvin || [ $$? -eq 77 ]
	@bench/startup_to_document.sh --cells 1000000 5 $(BUILD_DIR)/quorvin || [ $$? -eq 77 ]
	@bench/key_to_screen.sh 4 10 $(BUILD_DIR)/quorvin || [ $$? -eq 77 ]

debug:
	@$(MAKE) build BUILD_DIR=build-debug BUILD_TYPE=Debug

clean:
	rm -rf $(BUILD_DIR) build-debug build-asan build-fuzz
