# SPDX-License-Identifier: MIT
# Run by CPack on the staged tree, after everything is installed there and
# before the Debian package is built from it: adds the copyright and the
# changelog, compresses every manual page and trims every program, whichever
# part of the project installed it, as Debian packages carry them.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/bin")
    message(FATAL_ERROR "debian-files: no installed tree at ${root}")
endif()

# gzip -9n: the smallest file, without a name or timestamp, so that the same
# input always makes the same package.
function(compress from to)
    execute_process(COMMAND gzip -9n -c "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "debian-files: gzip ${from} failed: ${status}")
    endif()
    file(CHMOD "${to}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(CHMOD "${doc}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
     WORLD_EXECUTE)
file(COPY_FILE "${CPACK_CORVANE_COPYRIGHT}" "${doc}/copyright")
file(CHMOD "${doc}/copyright" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
compress("${CPACK_CORVANE_CHANGELOG}" "${doc}/changelog.Debian.gz")

file(GLOB_RECURSE pages LIST_DIRECTORIES false "${root}/share/man/*")
foreach(page IN LISTS pages)
    if(page MATCHES "\\.gz$")
        continue()
    endif()
    if(IS_SYMLINK "${page}")
        message(FATAL_ERROR "debian-files: ${page} is a link; link to the page's .gz instead")
    endif()
    compress("${page}" "${page}.gz")
    file(REMOVE "${page}")
endforeach()

# CPack has stripped the programs already; like Debian's own packaging, drop
# the compiler's notes as well, which nothing reads at run time.
if(NOT CPACK_CORVANE_STRIP)
    message(FATAL_ERROR "debian-files: configuring found no strip program (CMAKE_STRIP)")
endif()
file(GLOB programs LIST_DIRECTORIES false "${root}/bin/*")
foreach(program IN LISTS programs)
    file(READ "${program}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46") # not ELF: a script, say
        continue()
    endif()
    execute_process(COMMAND "${CPACK_CORVANE_STRIP}" --remove-section=.comment --remove-section=.note
                            "${program}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "debian-files: ${CPACK_CORVANE_STRIP} ${program} failed: ${status}")
    endif()
endforeach()
