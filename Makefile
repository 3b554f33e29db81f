# A thin layer over CMake: the targets that build install what is missing, configure and build
# first; lint checks the sources as they are and needs neither.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SECONDS ?= 60

.PHONY: all deps build run test bench lint fuzz clean

all: build

deps:
	@./tools/install_deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j

# On a desktop: the program in its window. Without a display: a short run on a virtual X server
# that saves screenshots in the build folder.
run: build
	@./tools/run.sh $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

bench: build
	./tools/with_xvfb.sh -s 1280x720 $(BUILD)/frame_bench

# The bitmap reader under libFuzzer for SECONDS seconds, from a freshly generated seed corpus and
# what earlier runs added to $(FUZZ_BUILD)/corpus. Fails on a crash or a sanitizer report and leaves
# the input that caused it in $(FUZZ_BUILD)/findings.
fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DWISPRA_FUZZ=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j2
	rm -rf $(FUZZ_BUILD)/seeds
	$(FUZZ_BUILD)/make_bitmap_corpus $(FUZZ_BUILD)/seeds
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	$(FUZZ_BUILD)/bitmap_file_fuzz -max_total_time=$(SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/findings/ $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/seeds

# clang-format over every C++ file and shellcheck over every shell script.
lint:
	@./tools/lint.sh

clean:
	rm -rf $(BUILD)
