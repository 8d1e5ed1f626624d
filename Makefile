# The commands a person needs: `make demo`, `make test` and `make bench`. CMake presets name the
# configurations; this file only calls them.
.PHONY: test bench demo deps test-tsan test-fuzz test-native test-win fuzz-long install-lv2 install-vst3 \
        package clean

JOBS ?= $(shell nproc)

deps:
	@bash scripts/install-deps.sh

# Bounded fuzz runs, the ThreadSanitizer concurrency tests and the Windows suite first, so that
# the native suite's ctest summary is the last thing printed.
test: deps test-fuzz test-tsan test-win test-native

test-native:
	cmake --preset linux-debug
	cmake --build --preset linux-debug -j $(JOBS)
	ctest --preset linux-debug

test-tsan:
	cmake --preset linux-tsan
	cmake --build --preset linux-tsan -j $(JOBS) --target concurrency_tests
	ctest --preset linux-tsan

# Windows: the 32-bit and the 64-bit build in full, then both their suites at once under Wine,
# each in its own prefix and display (scripts/run-wine-suite.sh --arch both). The Linux tavo-host
# is built first: the Windows ones are compared with it.
test-win:
	cmake --preset linux-debug
	cmake --build --preset linux-debug -j $(JOBS) --target tavo-host
	cmake --preset win32
	cmake --build --preset win32 -j $(JOBS)
	cmake --preset win64
	cmake --build --preset win64 -j $(JOBS)
	bash scripts/run-wine-suite.sh --arch both

test-fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/run-fuzz.sh build/fuzz

# Fuzzing as a nightly job does it, not part of `make test`: every target for FUZZ_SECONDS each
# (default 10 minutes), one per core, the corpus kept in build/fuzz-long between runs, ending with
# each target's executions and coverage. The time may come as a word: `make fuzz-long 3600`.
FUZZ_SECONDS ?= 600
ifeq (fuzz-long,$(firstword $(MAKECMDGOALS)))
  fuzz_long_words := $(wordlist 2,$(words $(MAKECMDGOALS)),$(MAKECMDGOALS))
  ifneq ($(fuzz_long_words),)
    FUZZ_SECONDS := $(firstword $(fuzz_long_words))
    # The word is the time, not a goal: it gets an empty rule.
    $(eval $(fuzz_long_words):;@:)
  endif
endif
fuzz-long:
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/fuzz-long.sh build/fuzz $(FUZZ_SECONDS)

bench:
	@bash scripts/install-deps.sh --bench
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS)
	build/linux-release/bench/tavo_bench --benchmark_counters_tabular=true \
	  --benchmark_out=build/bench.json --benchmark_out_format=json
	build/linux-release/bench/tavo_bench --benchmark_filter='^Editor/FullRedraw/' \
	  --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
	  --benchmark_display_aggregates_only=true \
	  --benchmark_out=build/bench-redraw.json --benchmark_out_format=json
	for simd in avx2 sse2; do \
	  TAVO_SIMD=$$simd build/linux-release/bench/tavo_bench --benchmark_filter='^Chain/' \
	    --benchmark_repetitions=3 --benchmark_display_aggregates_only=true \
	    --benchmark_out=build/bench-chain-$$simd.json --benchmark_out_format=json || exit 1; \
	done
	python3 scripts/bench-peer.py build/linux-release build/bench-peer.json
	python3 scripts/bench-render.py build/linux-release
	python3 scripts/bench-lv2.py build/linux-release build/bench-lv2.json
	python3 scripts/bench-summary.py build/bench.json

# The demo: the release build, then tavo-host renders its music and draws its pictures.
demo: deps
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS) --target tavo-host
	build/linux-release/module/tavo-host demo build/demo

# The Debian package, release build: build/linux-release/package/tavo_<version>_amd64.deb with
# the LV2 bundle in /usr/lib/lv2, the VST 3 bundle in /usr/lib/vst3, tavo-host in /usr/bin and
# its manual page.
package: deps
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS) \
	  --target tavo-host tavo_lv2_bundle tavo_vst3_bundle tavo_package_docs
	cd build/linux-release && cpack -G DEB

# The LV2 bundle, release build, into ~/.lv2 (or $(PREFIX)/lib/lv2 with PREFIX set), replacing an
# earlier TAVO.lv2 there.
LV2_DIR = $(if $(PREFIX),$(PREFIX)/lib/lv2,$(HOME)/.lv2)
install-lv2: deps
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS) --target tavo_lv2_bundle
	mkdir -p "$(LV2_DIR)"
	rm -rf "$(LV2_DIR)/TAVO.lv2"
	cp -R build/linux-release/lv2/TAVO.lv2 "$(LV2_DIR)/"
	@echo "TAVO.lv2 installed in $(LV2_DIR)"

# The VST 3 bundle, release build, into ~/.vst3 (or $(PREFIX)/lib/vst3 with PREFIX set), replacing
# an earlier TAVO.vst3 there.
VST3_DIR = $(if $(PREFIX),$(PREFIX)/lib/vst3,$(HOME)/.vst3)
install-vst3: deps
	cmake --preset linux-release
	cmake --build --preset linux-release -j $(JOBS) --target tavo_vst3_bundle
	mkdir -p "$(VST3_DIR)"
	rm -rf "$(VST3_DIR)/TAVO.vst3"
	cp -R build/linux-release/vst3/TAVO.vst3 "$(VST3_DIR)/"
	@echo "TAVO.vst3 installed in $(VST3_DIR)"

clean:
	rm -rf build
