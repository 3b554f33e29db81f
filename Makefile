# A thin layer over CMake: the targets that build install the packages they need (and only those),
# configure and build first; lint checks the sources as they are. DEPS=no skips the package check;
# JOBS bounds the parallel build; PREFIX is where install goes.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
PACKAGE_BUILD ?= build-package
SECONDS ?= 60
MINUTES ?= 10
SEED ?=
ROUNDS ?= 600
SAMPLES ?=
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEPS ?= yes
# WERROR=yes makes every compiler warning an error, as CI builds.
WERROR ?= no
CMAKE_WERROR = -DWISPRA_WERROR=$(if $(filter yes,$(WERROR)),ON,OFF)

# $(call deps_of,GROUPS): installs what is missing of those package groups (see tools/install_deps.sh).
deps_of = $(if $(filter no,$(DEPS)),@true,@./tools/install_deps.sh $(1))

.PHONY: all deps build build-program run test sanitize bench lint fuzz soak install package clean

all: build

# Every group: what CI and a developer who does everything need.
deps:
	$(call deps_of)

# Everything: the program, its images, the tests and the benchmark.
build:
	$(call deps_of,build test)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON $(CMAKE_WERROR)
	cmake --build $(BUILD) -j $(JOBS)

# The program and its images alone, in the same folder: configured without the tests, so that
# neither GoogleTest nor libpng is needed; a later make test configures them again.
build-program:
	$(call deps_of,build)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF $(CMAKE_WERROR)
	cmake --build $(BUILD) -j $(JOBS) --target wispra

# On a desktop: the program in its window. Without a display: a short run on a virtual X server
# that saves screenshots in the build folder (run.sh installs what that needs).
run: build-program
	@DEPS=$(DEPS) ./tools/run.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure --parallel $(JOBS)

# The sanitizers' options, for the sanitized programs only: every test, the end-to-end run and the
# installed program see them through ctest's environment, so a plain ctest in $(BUILD) is
# unaffected. Leak checking stays on; tools/lsan.supp names the only leaks that are not ours.
SANITIZE_ENV = \
	ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The unit tests, the GL tests, the end-to-end test and the install test with AddressSanitizer
# and UndefinedBehaviorSanitizer (gcc's, as in the normal build), in $(SANITIZE_BUILD). Built
# without optimisation: most of the run's time is spent in the GL driver, which is not sanitized,
# and the build is several times faster. Only what the tests run is built (not the benchmark), and
# the package test is left out: a package is built from the normal build, not a sanitized one.
sanitize:
	$(call deps_of,build test)
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DWISPRA_SANITIZE=ON $(CMAKE_WERROR)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) \
		--target wispra unit_tests gl_tests failing_app foreign_window host_frames compressed_docs
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure --parallel $(JOBS) \
		--exclude-regex '^package$$'

# Both sizes, each on a screen of its size, in the build folder where the images are. ROUNDS frames
# of each kind are timed; SAMPLES=N measures the program's --samples=N (the default visual when
# empty).
bench: build
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1280x720 ./frame_bench 1280 720 $(ROUNDS) $(SAMPLES)
	cd $(BUILD) && $(CURDIR)/tools/with_xvfb.sh -s 1920x1080 ./frame_bench 1920 1080 $(ROUNDS) $(SAMPLES)

# The bitmap reader under libFuzzer for SECONDS seconds, from a freshly generated seed corpus and
# what earlier runs added to $(FUZZ_BUILD)/corpus. Fails on a crash or a sanitizer report and leaves
# the input that caused it in $(FUZZ_BUILD)/findings.
fuzz:
	$(call deps_of,fuzz)
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DWISPRA_FUZZ=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/seeds
	$(FUZZ_BUILD)/make_bitmap_corpus $(FUZZ_BUILD)/seeds
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	$(FUZZ_BUILD)/bitmap_file_fuzz -max_total_time=$(SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/findings/ $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/seeds

# The program for MINUTES minutes at 1280 x 720 on a virtual X server, under random keys, drags
# and resizes, with its memory, GL errors and survival reported at the end. SEED=N repeats the
# random choices of an earlier run (it prints its seed at the start).
soak: build
	./tools/with_xvfb.sh -s 1280x720 ./tools/soak.sh $(BUILD)/wispra $(MINUTES) $(SEED)

# clang-format over every C++ file and shellcheck over every shell script.
lint:
	$(call deps_of,lint)
	@./tools/lint.sh

# The installed program looks for its images under the prefix it was built for, so the prefix is
# set before the build.
install:
	$(call deps_of,build)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
		-DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_WERROR)
	cmake --build $(BUILD) -j $(JOBS)
	@./tools/install.sh $(BUILD)

# The Debian package, built for /usr in its own folder, then checked: lintian must report no error
# and no warning, and the AppStream metadata must validate. The .deb is left in $(PACKAGE_BUILD).
package:
	$(call deps_of,build package)
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
		-DCMAKE_INSTALL_PREFIX=/usr $(CMAKE_WERROR)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@./tools/check_package.sh $(PACKAGE_BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(PACKAGE_BUILD)
