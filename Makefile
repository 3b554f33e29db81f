# A thin layer over CMake: each target installs what is missing, configures and builds first.
# DEPS=no skips the package check; JOBS bounds the parallel build; PREFIX is where install goes.
BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEPS ?= yes

.PHONY: all deps build run test bench install clean

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

bench: build
	./tools/with_xvfb.sh -s 1280x720 $(BUILD)/frame_bench

# The installed program looks for its images under the prefix it was built for, so the prefix is
# set before the build.
install: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	@./tools/install.sh $(BUILD)

clean:
	rm -rf $(BUILD)
