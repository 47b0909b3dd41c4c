# The two commands of the README: `make run` and `make test`. Building, running and installing
# need only `install-deps`; the tests add `install-deps --tests`, the hardening runs
# `make test-sanitize` and `make fuzz` need clang and get it through `install-deps --hardening`.
BUILD ?= build
JOBS ?= $(shell nproc)
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps test-deps configure build run test test-sanitize fuzz format-check clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --tests

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/quotario

test: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer (g++).
test-sanitize:
	@scripts/install-deps --tests --hardening
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOTARIO_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS seconds (clang, libFuzzer, ASan, UBSan).
fuzz:
	@scripts/install-deps --hardening
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The committed .clang-format over the C++ of src/, tests/ and bench/ (Debian's clang-format):
# lists every file it would change and fails if there is one (scripts/format-check).
format-check: test-deps
	@scripts/format-check

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)

# Installing like a desktop program: the program's folder, its menu entry and icon under PREFIX
# (by default in the user's home, so the alignment can be saved without being root); `package`
# makes the .tar.gz of the folder and the system-wide .deb in $(BUILD); `uninstall` removes
# what the last install from $(BUILD) put, as its install_manifest.txt lists it, but keeps a
# saved alignment.
PREFIX ?= $(HOME)/.local

.PHONY: install uninstall package

install: build
	cmake --install $(BUILD) --strip --prefix "$(PREFIX)"

uninstall:
	cmake --build $(BUILD) --target uninstall

package: build
	cd $(BUILD) && cpack

# Start-up, memory, a C&alcola press and a print run against their targets (scripts/bench);
# then the Windows program's start-up under Wine (scripts/bench-windows).
.PHONY: bench

bench: test-deps build windows-configure
	scripts/bench $(BUILD)
	scripts/bench-windows $(BUILD) $(WINDOWS_BUILD)

# The Windows program, cross-built with MinGW-w64 against a Qt built for Windows once into a
# cache folder outside the checkout (scripts/build-qt-mingw, QUOTARIO_CACHE), and its tests
# under Wine: `windows` makes $(WINDOWS_BUILD)/quotario-<version>-windows-x64.zip and, beside it,
# the installer quotario-<version>-setup.exe;
# `test-windows` runs the suite under Wine twice, with Wine's own regional settings and with
# Italian ones (decimal comma), then prints the slip into a PDF through the Windows build and
# reads its texts' places back.
WINDOWS_BUILD ?= build-windows
QUOTARIO_CACHE ?= /var/cache/quotario
QT_MINGW = $(shell scripts/build-qt-mingw --prefix "$(QUOTARIO_CACHE)")
export QUOTARIO_CACHE

.PHONY: windows-configure windows test-windows

windows-configure:
	@scripts/install-deps --windows
	@scripts/build-qt-mingw "$(QUOTARIO_CACHE)" >/dev/null
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_PREFIX_PATH=$(QT_MINGW) -DQT_HOST_PATH=/usr \
	    -DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/scripts/wine-run >/dev/null

windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target quotario_windows_setup

test-windows: windows-configure
	@scripts/install-deps --tests
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(WINDOWS_BUILD) && QUOTARIO_WINE_LOCALE=it_IT.UTF-8 ctest --output-on-failure -j $(JOBS)

# The Windows start-up alone, under Wine against a bare Qt window built the same way (a ratio).
.PHONY: bench-windows

bench-windows: test-deps build windows-configure
	scripts/bench-windows $(BUILD) $(WINDOWS_BUILD)
