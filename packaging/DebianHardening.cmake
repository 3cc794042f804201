# The hardening flags Debian builds its packages with, as dpkg-buildflags gives them for
# hardening=+all: stack protector, FORTIFY, format checks, read-only relocations bound at start;
# and position-independent programs. The build type keeps its own optimisation and debug flags, and
# file paths are not remapped, so that ccache shares objects between source trees.
find_program(QUILLET_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT QUILLET_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags (package dpkg-dev) gives the hardening flags: install it, "
                        "or configure with -DQUILLET_HARDENED=OFF for a build that is not shipped")
endif()

function(quillet_debian_flags kind result)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${QUILLET_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*)$")
    set(${result} ${flags} PARENT_SCOPE)
endfunction()

quillet_debian_flags(CPPFLAGS preprocessor_flags)
quillet_debian_flags(CXXFLAGS compiler_flags)
quillet_debian_flags(LDFLAGS linker_flags)
list(JOIN preprocessor_flags " " shown_preprocessor_flags)
list(JOIN compiler_flags " " shown_compiler_flags)
list(JOIN linker_flags " " shown_linker_flags)
message(STATUS "Hardening flags: ${shown_preprocessor_flags} ${shown_compiler_flags}; "
               "linking: ${shown_linker_flags}")
add_compile_options(${preprocessor_flags} ${compiler_flags})
add_link_options(${linker_flags})

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
