# SPDX-License-Identifier: MIT
# How each of the project's programs joins the build; included by every
# CMakeLists.txt that adds one.
include_guard(GLOBAL)
include(GNUInstallDirs)

# corvane_add_program(NAME SOURCES...)
# A Qt executable that answers --version with the project's version,
# installed beside the others.
function(corvane_add_program name)
    qt_add_executable(${name} ${ARGN})
    target_compile_definitions(${name} PRIVATE CORVANE_VERSION="${PROJECT_VERSION}")
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
