# SPDX-License-Identifier: MIT
# The hardening Debian builds its own packages with (dpkg-buildflags with
# hardening=+all), which lintian looks for in the package's binaries: stack
# protector and clash protection, fortified C library calls, format checks,
# control-flow protection, and a read-only relocation table with every symbol
# bound at start-up (BIND_NOW). On by default, so that any build can be packaged.
option(CORVANE_HARDENING "Build with the hardening flags of Debian packages" ON)
# ELF and glibc only: a cross build for Windows has no use for them.
if(CORVANE_HARDENING AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security)
    # The fortified calls need an optimising build; elsewhere glibc only warns.
    # Undefined first: some compilers define a level of their own.
    set(optimising "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    add_compile_options("$<${optimising}:-U_FORTIFY_SOURCE>" "$<${optimising}:-D_FORTIFY_SOURCE=2>")
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
        add_compile_options(-fcf-protection)
    endif()
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
