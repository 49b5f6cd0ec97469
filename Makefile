# The two commands of the README, and a few more for developers. Each one first installs any
# missing Debian package, then lets CMake build only what changed.
.PHONY: run test setup test-asan check-format format bench artwork clean

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

# Remakes the committed artwork (needs Debian's python3-pil and fonts-dejavu-core).
artwork:
	/usr/bin/python3 tools/make_artwork.py

clean:
	rm -rf build
