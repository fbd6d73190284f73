# The product: uninst.exe for every 32-bit Windows from 95 and NT 4 on.
# No libstdc++ (linked with the C driver, so a dependency on it fails to
# link), no MinGW start-up code, i486 instructions only, subsystem 4.0.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_executable(uninst WIN32 ${PRODUCT_SOURCES} platform/win32/startup.cpp)
file(GLOB RESOURCE_SCRIPT CONFIGURE_DEPENDS resources/uninst.rc)
if(RESOURCE_SCRIPT)
    target_sources(uninst PRIVATE ${RESOURCE_SCRIPT})
endif()
target_include_directories(uninst PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(uninst PRIVATE
    WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 NOMINMAX)
target_compile_options(uninst PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-march=i486 -mtune=i686 -Os -Wall -Wextra
    -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
    -fno-stack-protector -ffunction-sections>)
set(CMAKE_CXX_LINK_EXECUTABLE
    "i686-w64-mingw32-gcc-win32 <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
target_link_options(uninst PRIVATE
    -nostartfiles -nostdlib -Wl,-e,_WinMainCRTStartup -s -Wl,--gc-sections
    -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
# advapi32 before kernel32: newer kernel32 import libraries also carry some
# security functions (OpenThreadToken) that old kernel32.dll lacks.
target_link_libraries(uninst PRIVATE msvcrt user32 advapi32 kernel32 shell32 comctl32 gcc)
