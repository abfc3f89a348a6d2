# The two commands a newcomer needs: `make run` and `make test`.
PRESET ?= dev
BUILD  := build/$(PRESET)

.PHONY: all deps configure build test run clean

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j2

test: build
	ctest --preset $(PRESET) -j2

run: build
	$(BUILD)/app/quillsmith

clean:
	rm -rf build
