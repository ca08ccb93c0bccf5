# Thin wrapper over CMake: set-up, build, run the scenario program, run the tests, the same tests
# under the sanitizers, the fuzz targets for a bounded time, the Windows build and its tests under
# Wine, the release packages. Each target installs only what it needs (scripts/setup SET).
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
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
	@$(CONFIGURE) -B $(BUILD)
	@cmake --build $(BUILD) --target programs

# Builds only what it runs.
run:
	@scripts/setup build
	@$(CONFIGURE) -B $(BUILD)
	@cmake --build $(BUILD) --target $(PROGRAM)
	@rm -rf out && mkdir out && cp $(BUILD)/$(PROGRAM) out/
	@cd out && ./$(PROGRAM)
	@echo "files left in out/:" && cd out && ls -l --ignore=$(PROGRAM)

# clang-tidy over the whole tree takes minutes: CI runs it as its own step (make tidy).
test:
	@scripts/setup test
	@$(CONFIGURE) -B $(BUILD) -DSCENARIO_TESTS=ON
	@cmake --build $(BUILD)
	@ctest --test-dir $(BUILD) --output-on-failure -j2 -E style.tidy

tidy:
	@scripts/setup test
	@$(CONFIGURE) -B $(BUILD) -DSCENARIO_TESTS=ON
	@cmake --build $(BUILD)
	@ctest --test-dir $(BUILD) --output-on-failure -R style.tidy

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
test-windows:
	@scripts/setup windows
	@$(CONFIGURE) -B $(BUILD)
	@cmake --build $(BUILD) --target $(PROGRAM) scenario bench_sources
	@$(CONFIGURE) -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DSCENARIO_TESTS=ON -DSCENARIO_NATIVE_BUILD=$(CURDIR)/$(BUILD)
	@cmake --build $(WINDOWS_BUILD)
	@ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j2

# The Windows zip and the Debian package in dist/, each checked after it is made.
dist:
	@scripts/setup dist
	@$(CONFIGURE) -B $(BUILD) -DSCENARIO_MAN_PAGE=ON
	@cmake --build $(BUILD) --target scenario man_page
	@$(CONFIGURE) -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	@cmake --build $(WINDOWS_BUILD) --target $(PROGRAM) scenario
	@rm -rf $(DIST) && mkdir -p $(DIST)
	@cd $(BUILD) && cpack -G DEB -B $(CURDIR)/$(DIST) >/dev/null
	@cd $(WINDOWS_BUILD) && cpack -G ZIP -B $(CURDIR)/$(DIST) >/dev/null
	@rm -rf $(DIST)/_CPack_Packages
	@tests/dist/check_packages $(DIST)

# make test in a fresh Debian root, from a clone of HEAD: what a new machine meets.
check-fresh:
	@scripts/setup fresh
	@scripts/check-fresh

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) $(DIST) out
