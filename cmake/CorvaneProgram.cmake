# SPDX-License-Identifier: MIT
# How each of the project's programs joins the build; included by every
# CMakeLists.txt that adds one.
include_guard(GLOBAL)
include(GNUInstallDirs)

# corvane_add_program(NAME [WINDOW] SOURCES...)
# A Qt executable that answers --version with the project's version,
# installed beside the others. On Windows it carries the project's icon and a
# version resource, which Explorer shows in the file's properties; a WINDOW
# program starts there without a console, the others write their messages to
# standard error even without one.
function(corvane_add_program name)
    cmake_parse_arguments(ARG "WINDOW" "" "" ${ARGN})
    qt_add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_compile_definitions(${name} PRIVATE CORVANE_VERSION="${PROJECT_VERSION}")
    if(WIN32 AND ARG_WINDOW)
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE ON)
    elseif(WIN32)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src/app/console_tool_win.cpp)
    endif()
    if(WIN32)
        set(CORVANE_PROGRAM ${name})
        set(CORVANE_ICON ${PROJECT_SOURCE_DIR}/packaging/windows/corvane.ico)
        configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${name}.rc @ONLY)
        target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
    endif()
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
