# A thin wrapper over CMake. `make run` and `make test` do all the set-up.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test sanitize fuzz bench package clean

all: build

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}$${QT_QPA_PLATFORM:-}" ]; then \
		echo "No display found: start it under a virtual display with 'xvfb-run make run'."; exit 1; fi
	$(BUILD)/bin/qorvel3d

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQORVEL3D_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, from the seed files in tests/fuzz/corpus.
fuzz:
	@./scripts/install-deps fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVEL3D_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
		name=$$(basename $$f | sed 's/^fuzz_//'); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
		echo "fuzzing $$name for $(FUZZ_SECONDS) s"; \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $$f -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-rss_limit_mb=4096 -print_final_stats=1 $(FUZZ_BUILD)/corpus/$$name tests/fuzz/corpus/$$name \
			2>$(FUZZ_BUILD)/fuzz-$$name.log || { tail -n 60 $(FUZZ_BUILD)/fuzz-$$name.log; exit 1; }; \
		grep -E "^stat::number_of_executed_units|^Done" $(FUZZ_BUILD)/fuzz-$$name.log; \
	done

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b -median 9; done
	@./bench/startup.sh $(BUILD)

# The Debian package, build/qorvel3d_VERSION_ARCH.deb, checked by lintian.
package: build
	@./scripts/install-deps package
	cmake --build $(BUILD) --target package
	lintian --fail-on error,warning $(BUILD)/qorvel3d_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
