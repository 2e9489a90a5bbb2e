# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing
# (scripts/install-deps.sh), configure and build first.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build test run clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

run: build
	bash scripts/run-tool.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)

# `make bench`: an optimised build of the program and of the bench programs, then bench/run.py,
# which prints the table and writes it to bench/results.md.
BENCH_BUILD_DIR ?= build-bench
BENCH_TARGETS = zorvian-words zorvian_bench floor_lookup sha1_bench entry_counts_bench
.PHONY: bench
bench:
	@bash scripts/install-deps.sh --bench
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DZRV_BUILD_TESTS=OFF \
	  -DZRV_BUILD_BENCH=ON >/dev/null
	cmake --build $(BENCH_BUILD_DIR) -j$(JOBS) --target $(BENCH_TARGETS)
	python3 bench/run.py --build $(BENCH_BUILD_DIR) --results bench/results.md
