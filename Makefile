# A thin layer over CMake: each target installs what is missing, configures and builds first.
BUILD ?= build

.PHONY: all deps build run test bench clean

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

clean:
	rm -rf $(BUILD)
