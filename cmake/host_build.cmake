# The host build: the same subsystem sources against the fake world, with
# the unit tests, under AddressSanitizer and UndefinedBehaviorSanitizer.
find_package(GTest REQUIRED)
enable_testing()

set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS platform/host/*.cpp)
set(ROOT ${CMAKE_SOURCE_DIR})
include(cmake/stand_ins.cmake)
set(HOST_PRODUCT_SOURCES ${PRODUCT_SOURCES})
list(REMOVE_ITEM HOST_PRODUCT_SOURCES ${REPLACED_SOURCES})
add_library(product_host STATIC ${HOST_PRODUCT_SOURCES} ${FAKE_SOURCES} ${STAND_IN_SOURCES})
target_include_directories(product_host PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(product_host PUBLIC ${SANITIZERS} -g -Wall -Wextra)
target_link_options(product_host PUBLIC ${SANITIZERS})

# The fake world serves the very resources that ship: windres compiles the
# product's resource script to a .res file that the fake reads.
find_program(WINDRES i686-w64-mingw32-windres REQUIRED)
set(HOST_RES ${CMAKE_BINARY_DIR}/uninst.res)
file(GLOB_RECURSE RESOURCE_FILES CONFIGURE_DEPENDS resources/*)
add_custom_command(OUTPUT ${HOST_RES}
    COMMAND ${WINDRES} -c 65001 -I ${CMAKE_SOURCE_DIR}/resources
            -i ${CMAKE_SOURCE_DIR}/resources/uninst.rc -O res -o ${HOST_RES}
    DEPENDS ${RESOURCE_FILES})
add_custom_target(host_resources DEPENDS ${HOST_RES})
add_dependencies(product_host host_resources)
target_compile_definitions(product_host PUBLIC
    FAKE_RESOURCE_FILE="${HOST_RES}" RESOURCE_SOURCE_DIR="${CMAKE_SOURCE_DIR}/resources")

file(GLOB UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE product_host GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
