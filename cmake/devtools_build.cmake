# The device-manager tools XLNWLD2K, XLNWLD9X and XLNWLDNT, built by the
# rules of uninst.exe (own entry point, i486, no C++ run-time) and, beyond
# them, without msvcrt.dll, which the first Windows 95 lacks. On the host,
# their pure parts (request, matching, result, INF models, the children
# walk), their registry parts (the 9x devices and protocol bindings, the
# NT 4 cards and their bindings, the run log) and their service and
# driver-package removal join the unit tests over the fake world.
set(DEVTOOLS_PURE devtools/request_parse.cpp devtools/device_match.cpp devtools/result_text.cpp
    devtools/inf_models.cpp devtools/device_children.cpp)
set(DEVTOOLS_REGISTRY devtools/registry_tree.cpp devtools/tool_log.cpp)
set(DEVTOOLS_9X devtools/enum_devices_9x.cpp devtools/protocol_bindings_9x.cpp)
set(DEVTOOLS_NT4 devtools/network_cards.cpp devtools/network_linkage_nt4.cpp)
# The Service Control Manager and SetupAPI parts, over the fake's services,
# device list and stand-in <setupapi.h>.
set(DEVTOOLS_MANAGERS devtools/service_removal.cpp devtools/oem_infs.cpp devtools/devices_left.cpp)

if(NOT WIN32)
    target_sources(unit_tests PRIVATE ${DEVTOOLS_PURE} ${DEVTOOLS_REGISTRY} ${DEVTOOLS_9X}
        ${DEVTOOLS_NT4} ${DEVTOOLS_MANAGERS})
    target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/host)
    return()
endif()

# The program's own string and memory-block functions serve the tools too
# (built so that memset never becomes a call of itself), and so does its
# reading of the command line; the heap serves only the guardrails, which
# read version resources.
set(DEVTOOLS_COMMON ${DEVTOOLS_PURE} devtools/tool_files.cpp devtools/tool_entry.cpp
    devtools/tool_log.cpp platform/win32/string_functions.cpp platform/mbtext.cpp
    system/command_tail.cpp system/command_words.cpp system/windows_directory.cpp
    system/windows_family.cpp)
# The guardrails' judgment of Windows' own services, shared with uninst.exe.
set(DEVTOOLS_GUARDRAILS removal/protected_services.cpp removal/windows_programs.cpp
    removal/protected_files.cpp removal/system_file_checks.cpp removal/full_paths.cpp
    removal/windows_data_files.cpp
    removal/native_file_view.cpp removal/path_macros.cpp removal/path_parts.cpp
    system/system_library.cpp
    platform/win32/heap_memory.cpp)

function(add_device_tool name)
    cmake_parse_arguments(TOOL "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} WIN32 ${DEVTOOLS_COMMON} ${TOOL_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE
        WINVER=0x0500 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 NOMINMAX)
    target_compile_options(${name} PRIVATE ${ARCH_FLAGS} -Wall -Wextra
        -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
        -fno-stack-protector -ffunction-sections -fno-tree-loop-distribute-patterns)
    target_link_options(${name} PRIVATE
        -nostartfiles -nostdlib -Wl,-e,${ENTRY_SYMBOL} -s -Wl,--gc-sections
        -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
        -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
    target_link_libraries(${name} PRIVATE ${TOOL_LIBRARIES} user32 advapi32 kernel32 gcc)
endfunction()

add_device_tool(XLNWLD9X SOURCES devtools/remove_9x_registry.cpp devtools/registry_tree.cpp platform/key_tree.cpp
    ${DEVTOOLS_9X} devtools/no_handover.cpp ${DEVTOOLS_GUARDRAILS})
add_device_tool(XLNWLDNT SOURCES devtools/remove_nt4_cards.cpp devtools/registry_tree.cpp platform/key_tree.cpp
    ${DEVTOOLS_NT4} devtools/service_removal.cpp devtools/no_handover.cpp ${DEVTOOLS_GUARDRAILS})
add_device_tool(XLNWLD2K SOURCES devtools/remove_setupapi.cpp devtools/oem_infs.cpp devtools/devices_left.cpp
    devtools/service_removal.cpp ${DEVTOOLS_GUARDRAILS} devtools/wow64_handoff.cpp removal/sibling_program.cpp
    LIBRARIES setupapi)
