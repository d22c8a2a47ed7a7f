# SPDX-License-Identifier: MIT
# How a Qt Test suite joins the build; included by every CMakeLists.txt that
# adds one.
include_guard(GLOBAL)

# Runs a command in a network namespace of its own: see the script.
set(CORVANE_PRIVATE_NETWORK ${PROJECT_SOURCE_DIR}/tests/support/private-network.sh CACHE INTERNAL "")

# corvane_add_test(NAME SOURCES... [PRIVATE_NETWORK])
# One Qt Test executable per test class, linked with the test support (and so
# with the program's libraries). PRIVATE_NETWORK runs it inside a network
# namespace of its own; where none can be made, CTest reports it skipped.
function(corvane_add_test name)
    cmake_parse_arguments(ARG "PRIVATE_NETWORK" "" "" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE corvane_test_support)
    if(CMAKE_CROSSCOMPILING)
        # Built for Windows, run by the emulator (Wine), which puts every run
        # in a private network namespace of its own; Qt is static, so the
        # offscreen platform is linked in.
        qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
        add_test(NAME ${name} COMMAND ${name})
    elseif(ARG_PRIVATE_NETWORK)
        add_test(NAME ${name} COMMAND ${CORVANE_PRIVATE_NETWORK} $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    if(CMAKE_CROSSCOMPILING)
        # Qt's offscreen platform on Windows reads fonts from one folder:
        # Windows' own faces, as Wine ships them (fonts-wine).
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT QT_QPA_FONTDIR=/usr/share/wine/fonts)
    endif()
endfunction()
