# Everything a user or CI needs: `make run` and `make test` install missing
# packages, configure and build first.
BUILD := build/default
FUZZ_SECONDS ?= 120
JOBS ?= $(shell nproc)

.PHONY: deps build run test test-asan fuzz bench clean

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

# The editor on the example layout.
run: build
	$(BUILD)/src/plavesk examples/demo.lay

test: build
	ctest --preset default -j $(JOBS)
	$(MAKE) test-asan

# The headless core's tests again, built with AddressSanitizer and UBSan.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Runs the layout-reader fuzzer for FUZZ_SECONDS on a corpus seeded by code.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	mkdir -p fuzz/corpus/layout fuzz/findings
	build/fuzz/fuzz/make_layout_seeds fuzz/corpus/layout
	build/fuzz/fuzz/layout_fuzzer -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=fuzz/findings/ \
	  -print_final_stats=1 fuzz/corpus/layout

bench: build
	for b in $(BUILD)/bench/*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

clean:
	rm -rf build
