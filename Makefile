# The two commands of the README: `make run` and `make test`; the hardening runs
# `make test-sanitize` and `make fuzz` need clang and are installed by `install-deps --hardening`.
BUILD ?= build
JOBS ?= $(shell nproc)
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-sanitize fuzz clean

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

# The whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer (g++).
test-sanitize:
	@scripts/install-deps --hardening
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOTARIO_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS seconds (clang, libFuzzer, ASan, UBSan).
fuzz:
	@scripts/install-deps --hardening
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)

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
