# One entry point. `make` builds every program into dist/, `make test` runs every test but the
# slow ones (`make test-slow` runs those), `make demo` builds the shipped programs and runs the
# demo. Each installs what is missing first.
# `make fuzz` runs every fuzz target FUZZ_SECONDS each (or those named in FUZZ_TARGETS).
# `make repro` builds the committed HEAD twice from clean clones and compares dist/ byte for byte;
# `make screenshots` regenerates the README's pictures from the real programs.
BUILD ?= build
JOBS  ?= 2
ROOT  := $(CURDIR)
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
PREFIX := $(ROOT)/$(BUILD)/wineprefix
FUZZ_SECONDS ?= 600
FUZZ_TARGETS ?=

.PHONY: all setup configure build dist test demo bench fuzz repro screenshots clean

all: dist

setup:
	@./scripts/setup.sh

$(NATIVE)/CMakeCache.txt: | setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null

$(WIN)/CMakeCache.txt: | setup
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake >/dev/null

configure: setup $(NATIVE)/CMakeCache.txt $(WIN)/CMakeCache.txt

build: configure
	cmake --build $(NATIVE) -j$(JOBS)
	cmake --build $(WIN) -j$(JOBS)

dist: setup $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j$(JOBS) --target shipped
	@mkdir -p dist
	@while read -r f; do [ -n "$$f" ] && cp "$$f" dist/; done < $(WIN)/dist-files.txt
	@ls dist

# Both configurations' tests in one CTest run: a top-level CTestTestfile names both builds.
# Tests labelled slow (gigabytes of disk traffic) are left to `make test-slow`.
test: build dist
	@printf 'subdirs("native")\nsubdirs("win")\n' > $(BUILD)/CTestTestfile.cmake
	./scripts/with-wine --prefix $(PREFIX) ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE slow
	@echo "Shipped files:"
	@sh tests/shipped/check_xp_imports.sh $(shell grep -m1 '^CMAKE_OBJDUMP:' $(WIN)/CMakeCache.txt | cut -d= -f2) $(WIN)/dist-files.txt
	@sh tests/shipped/check_sizes.sh $(WIN)/dist-files.txt

test-slow: build
	ctest --test-dir $(NATIVE) --output-on-failure -L slow

# Only what the demo runs: the shipped programs and the driver that plays the user.
demo: dist
	cmake --build $(WIN) -j$(JOBS) --target demo_driver
	./scripts/demo.sh $(BUILD)

fuzz: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j$(JOBS)
	./scripts/fuzz.sh $(NATIVE) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build dist
	@for s in bench/*/run.sh; do echo "== $$s"; sh "$$s" $(BUILD) || exit 1; done

repro: setup
	./scripts/repro.sh

screenshots: dist
	cmake --build $(WIN) -j$(JOBS)
	./scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
