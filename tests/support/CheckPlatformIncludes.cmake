# Fails when a file outside the system layer (engine/system) includes an SDL
# or POSIX header.
file(GLOB_RECURSE sources RELATIVE ${ROOT}
     ${ROOT}/engine/*.h ${ROOT}/engine/*.cpp ${ROOT}/game/*.h ${ROOT}/game/*.cpp
     ${ROOT}/app/*.h ${ROOT}/app/*.cpp)
set(pattern "#[ \t]*include[ \t]*[<\"](SDL|unistd\\.h|fcntl\\.h|dirent\\.h|pthread\\.h|dlfcn\\.h|sys/|pwd\\.h|signal\\.h|termios\\.h|poll\\.h|semaphore\\.h)")
set(offenders "")
foreach(source IN LISTS sources)
    if(source MATCHES "^engine/system/")
        continue()
    endif()
    file(STRINGS ${ROOT}/${source} hits REGEX "${pattern}")
    if(hits)
        list(APPEND offenders "${source}: ${hits}")
    endif()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " text)
    message(FATAL_ERROR "SDL or POSIX headers outside engine/system:\n  ${text}")
endif()
