# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/quotario

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

# Installing like a desktop program: the program's folder, its menu entry and icon under PREFIX
# (by default in the user's home, so the alignment can be saved without being root); `package`
# makes the .tar.gz of the folder and the system-wide .deb in $(BUILD).
PREFIX ?= $(HOME)/.local

.PHONY: install package

install: build
	cmake --install $(BUILD) --strip --prefix "$(PREFIX)"

package: build
	cd $(BUILD) && cpack

# Start-up, memory, a C&alcola press and a print run against their targets (scripts/bench).
.PHONY: bench

bench: build
	scripts/bench $(BUILD)
