# The two commands of the README, and a few more for developers. Each one first installs any
# missing Debian package, then lets CMake build only what changed.
.PHONY: run test setup test-asan check-format format bench perf fuzz fuzz-runner artwork package package-check package-reproducible clean

# Warnings are errors in CI.
WERROR := $(if $(CI),ON,OFF)
JOBS := $(shell nproc)

run: setup
	cmake --preset release -DQUIBBIX_WERROR=$(WERROR) >/dev/null
	cmake --build --preset release -j $(JOBS)
	./build/release/quibbix

test: setup
	cmake --preset release -DQUIBBIX_WERROR=$(WERROR) >/dev/null
	cmake --build --preset release -j $(JOBS)
	ctest --preset release -j $(JOBS)
	@$(MAKE) --no-print-directory web-tests

setup:
	@tools/install-deps.sh

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: setup
	cmake --preset asan -DQUIBBIX_WERROR=$(WERROR) >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

SOURCES = $(shell git ls-files '*.cpp' '*.h')

check-format: setup
	@clang-format --dry-run -Werror $(SOURCES) && echo "formatting: ok"

format: setup
	clang-format -i $(SOURCES)

bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	./build/bench/bench/quibbix_bench

# The performance table of docs/performance.md, measured on this machine and written there: the game
# beside a bare SDL2 window in a private X server, taken in turns (start-up, memory, idle and with
# 101 balls in play), and the benchmark of one tick beside one copy of the board.
perf: setup
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	tests/e2e/session.sh 1600x1200 /usr/bin/python3 tools/perf.py build/release build/bench docs/performance.md
	@$(MAKE) --no-print-directory perf-web

# A long campaign of the event fuzzer under the sanitizers: a million events over 20 seeds.
FUZZ_SEED ?= 1000
fuzz: setup
	cmake --preset asan -DQUIBBIX_WERROR=$(WERROR) >/dev/null
	cmake --build --preset asan -j $(JOBS) --target quibbix_event_fuzzer
	./build/asan/tests/fuzz/quibbix_event_fuzzer --seed $(FUZZ_SEED) --seeds 20 --events 50000

# A long campaign of the runner fuzzer under the sanitizers: 20,000 scripts, about twenty minutes.
fuzz-runner: setup
	cmake --preset asan -DQUIBBIX_WERROR=$(WERROR) >/dev/null
	cmake --build --preset asan -j $(JOBS) --target quibbix_runner_fuzzer
	./build/asan/tests/fuzz/quibbix_runner_fuzzer --seed $(FUZZ_SEED) --scripts 20000

# Remakes the committed artwork with Debian's python3-pil and fonts-dejavu-core.
artwork:
	@tools/install-deps.sh fonts-dejavu-core
	/usr/bin/python3 tools/make_artwork.py

# The Debian package, built by dpkg-buildpackage from a copy of the checkout: build/package/ then
# holds quibbix_<version>_<arch>.deb, its -dbgsym .deb, the .buildinfo and the .changes.
package: setup
	tools/build-package.sh build/package

# Installs the package into a fresh root and plays it there, then purges it; lintian on the way.
package-check: package
	tests/package/check.sh build/package

# Builds the package once more elsewhere and checks that the .deb files are byte-identical to
# those of the last `make package` (or `make package-check`), which it builds when there are none.
package-reproducible: setup
	tests/package/reproducible.sh build/package

clean:
	rm -rf build

include web/web.mk
