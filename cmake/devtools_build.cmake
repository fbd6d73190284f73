# The device-manager tools XLNWLD2K, XLNWLD9X and XLNWLDNT, built by the
# rules of uninst.exe (own entry point, i486, no C++ run-time) and, beyond
# them, without msvcrt.dll, which the first Windows 95 lacks. On the host,
# their pure parts (request, matching, result, INF models, the children
# walk), their registry parts (the 9x devices and protocol bindings, the
# NT 4 cards and their bindings, the run log) and their service and
# driver-package removal join the unit tests over the fake world.
set(DEVTOOLS_PURE devtools/tool_request.cpp devtools/device_match.cpp devtools/tool_result.cpp
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

# What the tools share with uninst.exe, named by folder: the system facts
# and the command line (system/), the guardrails and the removal's path
# helpers (removal/), the text helpers and the C run-time on kernel32
# (platform/), and the tools' own common parts (devtools/). They make one library, whose
# members join a tool only where it calls them: the guardrails' judgment of
# Windows' own services and files, for instance, and the heap, which serves
# only the guardrails' reading of version resources. What differs between
# the tools (their removal, their hand-over, their entry) is named below.
# The C run-time is linked whole, as in uninst.exe: the compiler's own
# calls of memcpy and memset come after the library has been searched.
file(GLOB DEVTOOLS_RUNTIME CONFIGURE_DEPENDS platform/win32/*.cpp)
set(DEVTOOLS_OWN devtools/tool_entry.cpp ${DEVTOOLS_RUNTIME})
set(DEVTOOLS_VARIANTS devtools/remove_9x_registry.cpp devtools/remove_nt4_cards.cpp
    devtools/remove_setupapi.cpp devtools/no_handover.cpp devtools/wow64_handoff.cpp)
file(GLOB DEVTOOLS_SHARED CONFIGURE_DEPENDS devtools/*.cpp system/*.cpp removal/*.cpp
    removal/guardrails/*.cpp platform/*.cpp)
foreach(source devtools/tool_entry.cpp ${DEVTOOLS_VARIANTS})
    list(REMOVE_ITEM DEVTOOLS_SHARED ${CMAKE_SOURCE_DIR}/${source})
endforeach()

# The rules of uninst.exe's compilation, without its link-time optimisation
# (built so that memset never becomes a call of itself).
function(use_tool_compile_rules target)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE
        WINVER=0x0500 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 NOMINMAX)
    target_compile_options(${target} PRIVATE ${ARCH_FLAGS} -Wall -Wextra
        -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
        -fno-stack-protector -ffunction-sections -fno-tree-loop-distribute-patterns)
endfunction()

add_library(device_tools_shared STATIC ${DEVTOOLS_SHARED})
use_tool_compile_rules(device_tools_shared)

function(add_device_tool name)
    cmake_parse_arguments(TOOL "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} WIN32 ${DEVTOOLS_OWN} ${TOOL_SOURCES})
    use_tool_compile_rules(${name})
    target_link_options(${name} PRIVATE
        -nostartfiles -nostdlib -Wl,-e,${ENTRY_SYMBOL} -s -Wl,--gc-sections
        -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
        -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)
    target_link_libraries(${name} PRIVATE device_tools_shared ${TOOL_LIBRARIES} user32 advapi32 kernel32 gcc)
endfunction()

add_device_tool(XLNWLD9X SOURCES devtools/remove_9x_registry.cpp devtools/no_handover.cpp)
add_device_tool(XLNWLDNT SOURCES devtools/remove_nt4_cards.cpp devtools/no_handover.cpp)
add_device_tool(XLNWLD2K SOURCES devtools/remove_setupapi.cpp devtools/wow64_handoff.cpp
    LIBRARIES setupapi)
