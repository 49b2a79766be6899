# Compiler settings shared by every target of the project.
add_library(orvanta_options INTERFACE)
target_compile_options(orvanta_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Woverloaded-virtual)
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

# orvanta_library(NAME SOURCES ...): a static library of the engine or the game.
# Sources include headers by their path from the repository root
# ("engine/core/BaseObject.h"), so the tree shows where each name lives.
function(orvanta_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC orvanta_options)
endfunction()
