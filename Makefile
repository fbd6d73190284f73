# The three entries: the product, every test, the demonstration. Each
# installs what a fresh Debian 12 machine lacks first (as root or via sudo).

WIN_BUILD := build/win
HOST_BUILD := build/host

.PHONY: all deps dist unit audit wine test demo clean

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

# The test programs that run beside uninst.exe inside a Wine prefix.
WINE_TOOLS := build/wine-tools/winprobe.exe build/wine-tools/family_probe.exe

build/wine-tools/%.exe: tests/wine/tools/%.cpp
	mkdir -p build/wine-tools
	i686-w64-mingw32-g++-win32 -Os -s -static -fno-exceptions -fno-rtti -o $@ $< -luser32

# Built from the product's own source of the family test.
build/wine-tools/family_probe.exe: tests/wine/tools/family_probe.cpp system/windows_family.cpp
	mkdir -p build/wine-tools
	i686-w64-mingw32-g++-win32 -Os -s -static -fno-exceptions -fno-rtti -I. -o $@ $^

wine: dist $(WINE_TOOLS)
	tests/wine/lib-test.sh
	tests/wine/run-all.sh

test: unit audit wine

demo: dist $(WINE_TOOLS)
	scripts/demo.sh

clean:
	rm -rf build dist
