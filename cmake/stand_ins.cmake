# The host builds' stand-ins at the program's own seams (tests/stand_ins).
# Each replaces the one product source behind a header that makes the real
# calls, which the Wine scenarios prove; the unit tests steer the stand-in
# and keep proving the decisions around it. ROOT is the repository.
set(REPLACED_SOURCES
    ${ROOT}/system/shutdown_request.cpp
    ${ROOT}/system/administrator.cpp
    ${ROOT}/system/admin_only_access.cpp
    ${ROOT}/system/security_api.cpp
    ${ROOT}/system/message_box.cpp
    ${ROOT}/system/other_windows.cpp
    ${ROOT}/app/progress_window.cpp
    ${ROOT}/removal/window_program.cpp
    ${ROOT}/system/named_mutex.cpp
    ${ROOT}/system/thread_messages.cpp
    ${ROOT}/system/started_process.cpp
    ${ROOT}/system/ansi_text.cpp
    ${ROOT}/system/wide_path.cpp
    ${ROOT}/messages/module_resource.cpp
    ${ROOT}/system/library_calls.cpp
    ${ROOT}/devtools/service_manager.cpp
    ${ROOT}/devtools/device_list.cpp
    ${ROOT}/removal/shell_id_lists.cpp)
file(GLOB STAND_IN_SOURCES CONFIGURE_DEPENDS ${ROOT}/tests/stand_ins/*.cpp)
# The device list's stand-in reads the host's <setupapi.h>, as the device
# tools' sources do in the unit tests.
set_source_files_properties(${ROOT}/tests/stand_ins/device_list.cpp PROPERTIES
    INCLUDE_DIRECTORIES ${ROOT}/platform/host)
