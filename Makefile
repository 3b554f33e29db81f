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

# Both sizes, each on a screen of its size, in the build folder where the images are.
bench: build
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1280x720 ./frame_bench 1280 720
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1920x1080 ./frame_bench 1920 1080

clean:
	rm -rf $(BUILD)
