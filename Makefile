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

# Hardening: the whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# libFuzzer targets of fuzz/ (clang). A finding fails the target; none is suppressed. The exit
# status 86 keeps a finding in a child program from passing for the halt's status 1.
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_CXX ?= clang++-14
FUZZ_TARGETS := text_filters_fuzz transliterate_fuzz
FUZZ_SECONDS ?= 600
FUZZ_CI_SECONDS ?= 30
FUZZ_VERBOSITY ?= 1
SANITIZER_ENV := ASAN_OPTIONS=exitcode=86:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=exitcode=86:print_stacktrace=1:halt_on_error=1

.PHONY: test-sanitize fuzz-build fuzz fuzz-ci

$(SANITIZE_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZRV_SANITIZE=ON >/dev/null

test-sanitize: deps $(SANITIZE_DIR)/CMakeCache.txt
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS)

$(FUZZ_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZRV_FUZZ=ON -DZRV_BUILD_TESTS=OFF >/dev/null

fuzz-build: deps $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target $(FUZZ_TARGETS)

# Each target runs FUZZ_SECONDS on the committed seeds; what it finds goes to a corpus folder in
# the build folder (the committed seeds stay as they are), a crashing input to its artifacts.
fuzz: fuzz-build
	@set -e; mkdir -p $(FUZZ_DIR)/artifacts; \
	for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target; \
	  echo "== $$target: $(FUZZ_SECONDS) s"; \
	  $(SANITIZER_ENV) $(FUZZ_DIR)/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -verbosity=$(FUZZ_VERBOSITY) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/$$target- \
	    $(FUZZ_DIR)/corpus/$$target fuzz/corpus/$$target; \
	done

fuzz-ci: fuzz-build
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_CI_SECONDS) FUZZ_VERBOSITY=0

# `make bench`: an optimised build of the program and of the bench programs, then bench/run.py,
# which prints the table and writes it to bench/results.md.
BENCH_BUILD_DIR ?= build-bench
BENCH_TARGETS = zorvian-words zorvian_bench floor_lookup floor_scan sha1_bench entry_counts_bench
.PHONY: bench
bench:
	@bash scripts/install-deps.sh --bench
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DZRV_BUILD_TESTS=OFF \
	  -DZRV_BUILD_BENCH=ON >/dev/null
	cmake --build $(BENCH_BUILD_DIR) -j$(JOBS) --target $(BENCH_TARGETS)
	python3 bench/run.py --build $(BENCH_BUILD_DIR) --results bench/results.md

# `make words-report`: agreement of a freshly built words database with espeak-ng on common words,
# per accent and feature, written to docs/words-report.md.
.PHONY: words-report
words-report:
	$(MAKE) build
	mkdir -p $(BUILD_DIR)/words-report
	$(BUILD_DIR)/zorvian-words build --output $(BUILD_DIR)/words-report/zrv_words.db
	python3 bench/words_agreement.py --db $(BUILD_DIR)/words-report/zrv_words.db --output docs/words-report.md
