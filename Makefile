# Thin wrapper over CMake: set-up, build, run the scenario program, run the tests.
BUILD ?= build
PROGRAM := Alderi_Moncasta_30752

.PHONY: setup build run test clean

setup:
	@scripts/setup

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)

run: build
	@rm -rf out && mkdir out && cp $(BUILD)/$(PROGRAM) out/
	@cd out && ./$(PROGRAM)
	@echo "files left in out/:" && cd out && ls -l --ignore=$(PROGRAM)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD) out
