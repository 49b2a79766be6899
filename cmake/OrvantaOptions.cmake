# Compiler settings shared by every target of the project.
add_library(orvanta_options INTERFACE)
target_compile_options(orvanta_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Woverloaded-virtual)
# In a unity build each source is included into a batch, where GCC takes it
# for a header and warns of classes that hold types of its anonymous
# namespace: harmless in a source file, so that warning is off there.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(orvanta_options INTERFACE -Wno-subobject-linkage)
endif()
if(ORVANTA_WERROR)
    target_compile_options(orvanta_options INTERFACE -Werror)
endif()
if(ORVANTA_SANITIZE AND ORVANTA_SANITIZE_THREAD)
    message(FATAL_ERROR "ORVANTA_SANITIZE and ORVANTA_SANITIZE_THREAD exclude each other")
endif()
if(ORVANTA_SANITIZE_THREAD)
    target_compile_options(orvanta_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(orvanta_options INTERFACE -fsanitize=thread)
endif()
if(ORVANTA_SANITIZE)
    target_compile_options(orvanta_options INTERFACE -fsanitize=address,undefined
                                                     -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(orvanta_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(orvanta_options INTERFACE ${PROJECT_SOURCE_DIR})

# LLVM's linker links the sanitized test binaries several times faster than
# the default one; the build falls back to the default where it is missing.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld ORVANTA_HAVE_LLD)
if(ORVANTA_HAVE_LLD)
    target_link_options(orvanta_options INTERFACE -fuse-ld=lld)
endif()

# The test sources share one precompiled header. ccache caches such compiles
# only when told that the header's macros and time stamps may be trusted.
foreach(lang IN ITEMS C CXX)
    if(CMAKE_${lang}_COMPILER_LAUNCHER MATCHES "ccache$")
        set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
                                            CCACHE_SLOPPINESS=pch_defines,time_macros
                                            ${CMAKE_${lang}_COMPILER_LAUNCHER})
    endif()
endforeach()

# orvanta_library(NAME SOURCES ...): a static library of the engine or the game.
# Sources include headers by their path from the repository root
# ("engine/core/BaseObject.h"), so the tree shows where each name lives.
function(orvanta_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC orvanta_options)
endfunction()
