# Installs the build twice into a temporary folder, once with a prefix given
# to `cmake --install --prefix` and once staged under DESTDIR, and checks that
# the link on the PATH leads to the installed program each time.
#     cmake -DBUILD_DIR=<build folder> -P InstallLink.cmake
set(root "$ENV{TMPDIR}")
if(root STREQUAL "")
    set(root "/tmp")
endif()
string(RANDOM LENGTH 10 tag)
set(work "${root}/orvanta-install-${tag}")

function(check_link link program)
    if(NOT IS_SYMLINK "${link}")
        message(FATAL_ERROR "no link ${link}")
    endif()
    file(REAL_PATH "${link}" target)
    file(REAL_PATH "${program}" expected)
    if(NOT target STREQUAL expected OR NOT EXISTS "${target}")
        message(FATAL_ERROR "${link} leads to ${target}, not to ${expected}")
    endif()
endfunction()

function(install_into prefix)
    execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                    RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cmake --install --prefix ${prefix} failed: ${status}")
    endif()
endfunction()

# The prefix given at install time, not the one of the configuration.
install_into("${work}/prefix")
file(GLOB_RECURSE programs "${work}/prefix/*/orvanta/orvanta")
list(LENGTH programs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "the program is not installed once under ${work}/prefix: ${programs}")
endif()
check_link("${work}/prefix/bin/orvanta" "${programs}")

# Staged: everything, the link included, under DESTDIR.
set(ENV{DESTDIR} "${work}/stage")
install_into("/opt/orvanta")
unset(ENV{DESTDIR})
file(GLOB_RECURSE staged "${work}/stage/opt/orvanta/*/orvanta/orvanta")
check_link("${work}/stage/opt/orvanta/bin/orvanta" "${staged}")

file(REMOVE_RECURSE "${work}")
