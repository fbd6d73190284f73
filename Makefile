# The three entries: the product, every test, the demonstration. Each
# installs what a fresh Debian 12 machine lacks first (as root or via sudo).

WIN_BUILD := build/win
HOST_BUILD := build/host
X64_BUILD := build/win64
TOOLS := XLNWLD2K XLNWLD9X XLNWLDNT

.PHONY: all deps dist unit audit fuzz fuzz-brief wine-build wine test demo bench clean

all: dist

deps:
	@./scripts/install-deps.sh

dist: deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN_BUILD) -j2
	# The device tool for Windows 2000 and later also ships as an x86-64
	# build, XLNWLD2K64.exe: on 64-bit Windows the 32-bit one hands over to it.
	cmake -S . -B $(X64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(X64_BUILD) -j2 --target XLNWLD2K
	mkdir -p dist
	cp $(WIN_BUILD)/uninst.exe $(TOOLS:%=$(WIN_BUILD)/%.exe) dist/
	cp $(X64_BUILD)/XLNWLD2K.exe dist/XLNWLD2K64.exe

unit: deps
	cmake -S . -B $(HOST_BUILD) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(HOST_BUILD) -j2
	cd $(HOST_BUILD) && ctest --output-on-failure -j2

# The program's size is held where it is: a change that grows it past this
# must first find the room elsewhere.
UNINST_MAX_BYTES = 128512

audit: dist
	@size=$$(wc -c <dist/uninst.exe); [ $$size -le $(UNINST_MAX_BYTES) ] || \
		{ echo "audit: uninst.exe is $$size bytes, more than $(UNINST_MAX_BYTES)"; exit 1; }
	tests/audit/check-imports.sh dist/uninst.exe
	tests/audit/check-cpu.sh dist/uninst.exe
	tests/audit/check-imports.sh dist/XLNWLD9X.exe tests/audit/xlnwld9x.allow 95
	tests/audit/check-imports.sh dist/XLNWLDNT.exe tests/audit/xlnwldnt.allow NT4
	tests/audit/check-imports.sh dist/XLNWLD2K.exe tests/audit/xlnwld2k.allow 2000
	OBJDUMP=x86_64-w64-mingw32-objdump tests/audit/check-imports.sh dist/XLNWLD2K64.exe tests/audit/xlnwld2k.allow 2000
	for tool in $(TOOLS); do tests/audit/check-cpu.sh dist/$$tool.exe || exit 1; done
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

# Speed and size against what a user would otherwise run; not part of test.
bench: wine-build
	tests/bench/run.sh

clean:
	rm -rf build dist
