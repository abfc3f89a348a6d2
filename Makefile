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
	@if [ -x $(BUILD)/app/quillsmith ]; then $(BUILD)/app/quillsmith; \
	else echo "The editor is not part of this build yet; 'make test' runs what there is."; fi

clean:
	rm -rf build
