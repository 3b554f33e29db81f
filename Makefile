# A thin layer over CMake: the targets that build install what is missing, configure and build
# first; lint checks the sources as they are and needs neither.
BUILD ?= build

.PHONY: all deps build run test bench lint clean

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

# clang-format over every C++ file and shellcheck over every shell script.
lint:
	@./tools/lint.sh

clean:
	rm -rf $(BUILD)
