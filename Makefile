# Front door: make run, make test, make bench, make fuzz.
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 60
# Game files the benchmarks generate; BENCH_FILES=1000000 for the million runs.
BENCH_FILES ?= 100000
DEBUG_DIR := build/debug
RELEASE_DIR := build/release
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz

PACKAGES := cmake ninja-build g++ clang-format qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libicu-dev libsqlite3-dev pkg-config fonts-dejavu-core
# make run only: fonts that show the sample's Chinese, Japanese and Korean names.
RUN_PACKAGES := fonts-noto-cjk
FUZZ_PACKAGES := clang libclang-rt-14-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all run test bench fuzz deps fuzz-deps run-deps release clean

all: test

# Installs the Debian packages that are missing, and nothing when all are there.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		$(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

run-deps: deps
	@missing=$$(for p in $(RUN_PACKAGES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		$(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

fuzz-deps: deps
	@missing=$$(for p in $(FUZZ_PACKAGES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		$(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

test: deps
	cmake -S . -B $(DEBUG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEX_SANITIZE=ON
	cmake --build $(DEBUG_DIR) -j$(JOBS)
	cd $(DEBUG_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 600

# The program, the command-line tool and the sample writer; no tests, no benchmarks.
release: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEX_BUILD_TESTS=OFF -DVARNEX_BUILD_BENCH=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEX_BUILD_TESTS=OFF -DVARNEX_BUILD_BENCH=ON \
		-DVARNEX_BUILD_SAMPLE=OFF
	cmake --build $(BENCH_DIR) -j$(JOBS)
	VARNEX_BENCH_FILES=$(BENCH_FILES) ./bench/run.sh $(BENCH_DIR)

run: release run-deps
	./tools/run.sh $(RELEASE_DIR)

fuzz: fuzz-deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEX_SANITIZE=ON \
		-DVARNEX_BUILD_DESKTOP=OFF -DVARNEX_BUILD_TESTS=OFF -DVARNEX_BUILD_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf build
