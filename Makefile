# Thin wrapper over CMake: set-up, build, run the scenario program, run the tests, the same tests
# under the sanitizers, the fuzz targets for a bounded time, the Windows build and its tests under
# Wine, the release packages. Each target installs only what it needs (scripts/setup SET).
# One build directory per configuration, so that no result depends on what ran before.
BUILD ?= build
TEST_BUILD ?= build-test
DIST_BUILD ?= build-dist
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
WINDOWS_TEST_BUILD ?= build-windows-test
DIST ?= dist
FUZZ_SECONDS ?= 60
CLANG ?= clang++-14
PROGRAM := Alderi_Moncasta_30752
# Warnings stop the build only where asked (CI does): a newer compiler must not break a user's.
WERROR ?= OFF
CONFIGURE := cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCENARIO_WERROR=$(WERROR)

.PHONY: build run test tidy sanitize fuzz windows test-windows dist check-fresh clean

# The two programs only: the tests and benchmarks build with make test.
build:
	@scripts/setup build
	@$(CONFIGURE) -B $(BUILD) -DSCENARIO_TESTS=OFF
	@cmake --build $(BUILD) --target programs

# Builds only what it runs.
run:
	@scripts/setup build
	@$(CONFIGURE) -B $(BUILD) -DSCENARIO_TESTS=OFF
	@cmake --build $(BUILD) --target $(PROGRAM)
	@rm -rf out && mkdir out && cp $(BUILD)/$(PROGRAM) out/
	@cd out && ./$(PROGRAM)
	@echo "files left in out/:" && cd out && ls -l --ignore=$(PROGRAM)

# clang-tidy over the whole tree takes minutes: CI runs it as its own step (make tidy).
test:
	@scripts/setup test
	@$(CONFIGURE) -B $(TEST_BUILD) -DSCENARIO_TESTS=ON
	@cmake --build $(TEST_BUILD)
	@ctest --test-dir $(TEST_BUILD) --output-on-failure -j2 -E style.tidy

tidy:
	@scripts/setup test
	@$(CONFIGURE) -B $(TEST_BUILD) -DSCENARIO_TESTS=ON
	@cmake --build $(TEST_BUILD)
	@ctest --test-dir $(TEST_BUILD) --output-on-failure -R style.tidy

sanitize:
	@scripts/setup sanitize
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CLANG) -DSCENARIO_WERROR=$(WERROR) \
		-DCMAKE_BUILD_TYPE=Debug -DSCENARIO_SANITIZE=ON -DSCENARIO_BENCHMARKS=OFF \
		-DSCENARIO_TESTS=ON -DSCENARIO_STYLE_CHECKS=OFF
	@cmake --build $(SANITIZE_BUILD)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j2

fuzz:
	@scripts/setup sanitize
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CLANG) -DSCENARIO_WERROR=$(WERROR) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_FUZZ=ON -DSCENARIO_BENCHMARKS=OFF \
		-DSCENARIO_TESTS=OFF
	@cmake --build $(FUZZ_BUILD) --target fuzzers
	@fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Windows x64 programs, cross-compiled with MinGW-w64 and linked statically.
windows:
	@scripts/setup windows
	@$(CONFIGURE) -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DSCENARIO_TESTS=OFF
	@cmake --build $(WINDOWS_BUILD)

# The core's unit tests under Wine, and the Windows programs' files against the native build's.
# The native side is make test's build, of which it needs only the programs.
test-windows:
	@scripts/setup test windows
	@$(CONFIGURE) -B $(TEST_BUILD) -DSCENARIO_TESTS=ON
	@cmake --build $(TEST_BUILD) --target $(PROGRAM) scenario bench_sources
	@$(CONFIGURE) -B $(WINDOWS_TEST_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DSCENARIO_TESTS=ON -DSCENARIO_NATIVE_BUILD=$(CURDIR)/$(TEST_BUILD)
	@cmake --build $(WINDOWS_TEST_BUILD)
	@ctest --test-dir $(WINDOWS_TEST_BUILD) --output-on-failure -j2

# The Windows zip and the Debian package in dist/, each checked after it is made.
dist:
	@scripts/setup dist
	@$(CONFIGURE) -B $(DIST_BUILD) -DSCENARIO_TESTS=OFF -DSCENARIO_MAN_PAGE=ON
	@cmake --build $(DIST_BUILD) --target scenario man_page
	@$(CONFIGURE) -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DSCENARIO_TESTS=OFF
	@cmake --build $(WINDOWS_BUILD) --target $(PROGRAM) scenario
	@rm -rf $(DIST) && mkdir -p $(DIST)
	@cd $(DIST_BUILD) && cpack -G DEB -B $(CURDIR)/$(DIST) >/dev/null
	@cd $(WINDOWS_BUILD) && cpack -G ZIP -B $(CURDIR)/$(DIST) >/dev/null
	@rm -rf $(DIST)/_CPack_Packages
	@tests/dist/check_packages $(DIST)

# make test in a fresh Debian root, from a clone of HEAD: what a new machine meets.
check-fresh:
	@scripts/setup fresh
	@scripts/check-fresh

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(DIST_BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) \
		$(WINDOWS_TEST_BUILD) $(DIST) out
