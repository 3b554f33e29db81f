# A thin layer over CMake: the targets that build install what is missing, configure and build
# first; lint checks the sources as they are and needs neither. DEPS=no skips the package check;
# JOBS bounds the parallel build; PREFIX is where install goes.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SECONDS ?= 60
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEPS ?= yes

.PHONY: all deps build run test bench lint fuzz install clean

all: build

deps:
ifneq ($(DEPS),no)
	@./tools/install_deps.sh
endif

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# On a desktop: the program in its window. Without a display: a short run on a virtual X server
# that saves screenshots in the build folder.
run: build
	@./tools/run.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure

# Both sizes, each on a screen of its size, in the build folder where the images are.
bench: build
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1280x720 ./frame_bench 1280 720
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1920x1080 ./frame_bench 1920 1080

# The bitmap reader under libFuzzer for SECONDS seconds, from a freshly generated seed corpus and
# what earlier runs added to $(FUZZ_BUILD)/corpus. Fails on a crash or a sanitizer report and leaves
# the input that caused it in $(FUZZ_BUILD)/findings.
fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DWISPRA_FUZZ=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/seeds
	$(FUZZ_BUILD)/make_bitmap_corpus $(FUZZ_BUILD)/seeds
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	$(FUZZ_BUILD)/bitmap_file_fuzz -max_total_time=$(SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/findings/ $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/seeds

# clang-format over every C++ file and shellcheck over every shell script.
lint:
	@./tools/lint.sh

# The installed program looks for its images under the prefix it was built for, so the prefix is
# set before the build.
install: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	@./tools/install.sh $(BUILD)

clean:
	rm -rf $(BUILD)
