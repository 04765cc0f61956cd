# Thin wrapper over CMake. Each target installs the Debian packages it needs
# first (the lists of packages/, by purpose): `make run` only those of the
# compiler, `make test` those of the tool and the whole test suite.
BUILD ?= build
COMPILER_BUILD ?= build-compiler
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps deps-compiler configure build run test test-sanitize clean

all: build

deps-compiler:
	@bash scripts/install_deps.sh compiler

deps:
	@bash scripts/install_deps.sh compiler tool preview test editors
	@bash scripts/install_npm.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The compiler alone, in a build folder of its own: no tool, no tests.
run: deps-compiler
	@cmake -S . -B $(COMPILER_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTS=OFF -DBUILD_TOOL=OFF \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(COMPILER_BUILD) -j $(JOBS) --target scenario_compiler
	@$(COMPILER_BUILD)/bin/scenario_compiler
	@echo "make run: the compiler wrote its six files beside itself, in $(abspath $(COMPILER_BUILD))/bin:"
	@cd $(COMPILER_BUILD)/bin && find . -maxdepth 1 -type f -newer scenario_compiler -printf '  %f\n' | sort

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(COMPILER_BUILD) build-sanitize

# Windows: cross-compiled with MinGW-w64 into build-windows/bin (static .exe files),
# and tested under Wine in a virtual X display.
WINDOWS_BUILD ?= build-windows
.PHONY: windows test-windows clean-windows

windows:
	@bash scripts/install_deps.sh compiler tool preview windows
	@bash scripts/install_npm.sh
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

test-windows:
	@bash scripts/test_windows.sh

clean-windows:
	rm -rf $(WINDOWS_BUILD)

# Fuzzing with clang-14 and libFuzzer in build-fuzz/ (never part of the normal
# build): every target for FUZZ_SECONDS each; the smoke run for 30 s each.
FUZZ_SECONDS ?= 60
.PHONY: fuzz fuzz-smoke

fuzz: deps
	@bash scripts/install_deps.sh fuzz
	@bash scripts/fuzz.sh $(FUZZ_SECONDS)

fuzz-smoke: deps
	@bash scripts/install_deps.sh fuzz
	@bash scripts/fuzz.sh 30

# Performance: a Release build in build-release/. `make bench` runs the
# benchmarks; `make measure` times the programs against cp (scripts/measure.sh),
# and against the build of an earlier commit with EARLIER=COMMIT.
RELEASE_BUILD ?= build-release
.PHONY: release-build bench measure

release-build: deps
	@bash scripts/install_deps.sh bench
	@cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF -DBUILD_BENCHMARKS=ON >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS) --target scenario_bench scenario_compiler scenario_tool make_route

bench: release-build
	@$(RELEASE_BUILD)/bin/scenario_bench

measure: release-build
	@bash scripts/measure.sh $(RELEASE_BUILD) $(EARLIER)

# Releases: a Release build in build-dist/ for the archives.
# `make dist` packs it, the Windows build and the VS Code extension (a .vsix,
# scripts/package_vscode.sh) into dist/ (scripts/make_dist.sh): the .vsix goes
# into each archive and beside them;
# `make install` installs scenario_tool and its manual page under PREFIX.
DIST_BUILD ?= build-dist
PREFIX ?= /usr/local
.PHONY: dist-build dist install test-dist clean-dist

dist-build: deps
	@cmake -S . -B $(DIST_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF -DBUILD_BENCHMARKS=OFF \
		-DWINDOWS_PROGRAMS=$(CURDIR)/$(WINDOWS_BUILD)/bin -DDIST_DIR=$(CURDIR)/dist \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(DIST_BUILD) -j $(JOBS) --target scenario_compiler scenario_tool scenario_tool_manual

dist: dist-build windows
	@bash scripts/install_deps.sh dist
	@cmake --build $(DIST_BUILD) --target dist

install: dist-build
	@cmake --install $(DIST_BUILD) --prefix $(PREFIX) --strip

test-dist:
	@bash scripts/test_dist.sh

clean-dist:
	rm -rf $(DIST_BUILD) dist
