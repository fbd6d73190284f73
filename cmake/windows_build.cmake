# The product: uninst.exe for every 32-bit Windows from 95 and NT 4 on.
# No C run-time library and no libstdc++ (linked with the C driver, so a
# dependency on either fails to link), no MinGW start-up code, i486
# instructions only, subsystem 4.0.
enable_language(RC)

# The 32-bit product runs on the i486; the 64-bit build of the same sources
# exists only for the Wine scenarios. x86-64 symbols carry no underscore.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ARCH_FLAGS -O2)
    set(ENTRY_SYMBOL WinMainCRTStartup)
else()
    # This compiler keeps a frame pointer in every function unless told:
    # 2.5 KB of code.
    set(ARCH_FLAGS -march=i486 -mtune=i686 -Os -mpreferred-stack-boundary=2 -fomit-frame-pointer)
    set(ENTRY_SYMBOL _WinMainCRTStartup)
    # Arguments pushed rather than stored at reserved offsets: an eighth of
    # the code. The compiler then probes each page of a large frame itself,
    # inline, instead of through the run-time library's probe, which would
    # force the stores back (tests/audit/check-cpu.sh checks every step).
    # Identical constants are kept once (no code compares their addresses),
    # data is aligned as the ABI asks, not padded for vector loads,
    # shorter encodings are chosen where a few more instructions run, and
    # a function is inlined whole or not at all (no split copies of it).
    set(SIZE_CODE_FLAGS -mno-accumulate-outgoing-args -mno-stack-arg-probe
        -fstack-clash-protection -fmerge-all-constants -malign-data=abi -Oz
        -fno-partial-inlining)
    # An executable always loads at its own base before ASLR, and without
    # the dynamic-base flag after it: its relocations are dead weight.
    set(SIZE_LINK_FLAGS -Wl,--disable-reloc-section)
    # The whole program optimised at the link: unused code and calls across
    # files go. (The x86-64 linker of this toolchain crashes on it; that
    # build only runs the Wine scenarios.)
    # One partition: the optimisation sees the whole program at once.
    set(LTO_FLAGS -flto -flto-partition=one)
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # The same manifest, naming the x86-64 architecture.
    file(READ resources/uninst.manifest MANIFEST_TEXT)
    string(REPLACE "processorArchitecture=\"x86\"" "processorArchitecture=\"amd64\"" MANIFEST_TEXT "${MANIFEST_TEXT}")
    file(WRITE ${CMAKE_BINARY_DIR}/uninst-amd64.manifest "${MANIFEST_TEXT}")
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I ${CMAKE_BINARY_DIR}")
endif()

# The few C run-time functions the program and the compiler need, on
# kernel32: no run-time library is linked, as a stock Windows 95 has none.
file(GLOB RUNTIME_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
# Without these, GCC would turn memset's own loop into a call of memset;
# they stay out of the link-time optimisation, which would otherwise drop
# the definitions its own calls of memmove and the like need.
set_source_files_properties(${RUNTIME_SOURCES} PROPERTIES
    COMPILE_OPTIONS "-fno-builtin;-fno-tree-loop-distribute-patterns;-fno-lto")
add_executable(uninst WIN32 ${PRODUCT_SOURCES} ${ENTRY_SOURCES} ${RUNTIME_SOURCES})
file(GLOB RESOURCE_SCRIPT CONFIGURE_DEPENDS resources/uninst.rc)
if(RESOURCE_SCRIPT)
    target_sources(uninst PRIVATE ${RESOURCE_SCRIPT})
endif()
target_include_directories(uninst PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(uninst PRIVATE
    WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 NOMINMAX)
target_compile_options(uninst PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:${ARCH_FLAGS} ${SIZE_CODE_FLAGS} -Wall -Wextra
    -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
    -fno-stack-protector -ffunction-sections ${LTO_FLAGS}>)
set(CMAKE_CXX_LINK_EXECUTABLE
    "${CMAKE_C_COMPILER} <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
target_link_options(uninst PRIVATE
    # The link-time optimisation compiles with the compile's own flags.
    ${LTO_FLAGS} ${ARCH_FLAGS} ${SIZE_CODE_FLAGS} ${SIZE_LINK_FLAGS}
    -nostartfiles -nostdlib -Wl,-e,${ENTRY_SYMBOL} -s -Wl,--gc-sections
    -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
# advapi32 before kernel32: newer kernel32 import libraries also carry some
# security functions (OpenThreadToken) that old kernel32.dll lacks.
target_link_libraries(uninst PRIVATE user32 advapi32 kernel32 shell32 comctl32 gcc)
