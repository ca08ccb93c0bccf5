# Thin wrapper over CMake: set-up, build, run the scenario program, run the tests, and the same
# tests under the sanitizers, and the fuzz targets for a bounded time.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANG ?= clang++-14
PROGRAM := Alderi_Moncasta_30752

.PHONY: setup build run test tidy sanitize fuzz clean

setup:
	@scripts/setup

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)

run: build
	@rm -rf out && mkdir out && cp $(BUILD)/$(PROGRAM) out/
	@cd out && ./$(PROGRAM)
	@echo "files left in out/:" && cd out && ls -l --ignore=$(PROGRAM)

# clang-tidy over the whole tree takes minutes: CI runs it as its own step (make tidy).
test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j2 -E style.tidy

tidy: build
	@ctest --test-dir $(BUILD) --output-on-failure -R style.tidy

sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CLANG) \
		-DCMAKE_BUILD_TYPE=Debug -DSCENARIO_SANITIZE=ON -DSCENARIO_BENCHMARKS=OFF \
		-DSCENARIO_STYLE_CHECKS=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j2

fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CLANG) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_FUZZ=ON -DSCENARIO_BENCHMARKS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzzers
	@fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) out
