# The three entries: the product, every test, the demonstration. Each
# installs what a fresh Debian 12 machine lacks first (as root or via sudo).

WIN_BUILD := build/win
HOST_BUILD := build/host

.PHONY: all deps dist unit audit wine-build wine test demo bench clean

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

# What the Wine scenarios run, built for the Wine this machine has.
wine-build: dist
	tests/wine/build-for-wine.sh

wine: wine-build
	tests/wine/lib-test.sh
	tests/wine/run-all.sh

test: unit audit wine

demo: wine-build
	scripts/demo.sh

# Speed and size against what a user would otherwise run; not part of test.
bench: wine-build
	tests/bench/run.sh

clean:
	rm -rf build dist
