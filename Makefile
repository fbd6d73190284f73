# The three entries: the product, every test, the demonstration. Each
# installs what a fresh Debian 12 machine lacks first (as root or via sudo).

WIN_BUILD := build/win
HOST_BUILD := build/host

.PHONY: all deps dist unit audit fuzz fuzz-brief wine-build wine test demo clean

all: dist

deps:
	@./scripts/install-deps.sh

dist: deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN_BUILD) -j2
	mkdir -p dist
	cp $(WIN_BUILD)/uninst.exe dist/

unit: deps
	cmake -S . -B $(HOST_BUILD) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(HOST_BUILD) -j2
	cd $(HOST_BUILD) && ctest --output-on-failure -j2

audit: dist
	tests/audit/check-imports.sh dist/uninst.exe
	tests/audit/check-cpu.sh dist/uninst.exe
	tests/audit/self-test.sh dist/uninst.exe

# The fuzz targets, each for FUZZ_SECONDS (a few minutes by default); the
# test run gives each a few seconds so that a regression shows at once.
FUZZ_SECONDS ?= 180

fuzz: deps
	nice tests/fuzz/run.sh $(FUZZ_SECONDS)

fuzz-brief: deps
	tests/fuzz/run.sh 4

# What the Wine scenarios run, built for the Wine this machine has.
wine-build: dist
	tests/wine/build-for-wine.sh

wine: wine-build
	tests/wine/lib-test.sh
	tests/wine/run-all.sh

test: unit fuzz-brief audit wine

demo: wine-build
	scripts/demo.sh

clean:
	rm -rf build dist
