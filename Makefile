# The two commands a newcomer needs: `make run` and `make test`.
PRESET ?= dev
BUILD  := build/$(PRESET)

.PHONY: all deps configure build test test-windows run package clean

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j2

test: build
	bash scripts/fetch-nu-checker.sh
	ctest --preset $(PRESET) -j2

# The parts without Qt, cross-built for Windows and tested under Wine.
test-windows:
	bash scripts/test-windows.sh

run: build
	$(BUILD)/app/quillsmith

# A .deb of the release build, in build/release/.
package: deps
	cmake --preset release
	cmake --build --preset release -j2 --target package

clean:
	rm -rf build
