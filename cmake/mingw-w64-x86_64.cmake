# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

# Header-only libraries installed for the build machine serve the cross build
# too. Each is mirrored alone (headers and CMake package) into a private root,
# so that the build machine's /usr/include never reaches the cross compiler.
set(HOST_HEADER_ROOT ${CMAKE_BINARY_DIR}/host-header-packages)
foreach(package "CLI11:CLI" "nlohmann_json:nlohmann")
  string(REPLACE ":" ";" package "${package}")
  list(GET package 0 name)
  list(GET package 1 headers)
  if(EXISTS /usr/share/cmake/${name} AND EXISTS /usr/include/${headers})
    file(MAKE_DIRECTORY ${HOST_HEADER_ROOT}/usr/include ${HOST_HEADER_ROOT}/usr/share/cmake)
    file(CREATE_LINK /usr/include/${headers} ${HOST_HEADER_ROOT}/usr/include/${headers} SYMBOLIC)
    file(CREATE_LINK /usr/share/cmake/${name} ${HOST_HEADER_ROOT}/usr/share/cmake/${name} SYMBOLIC)
  endif()
endforeach()
# Boost (Beast and Asio, header-only): its headers alone; CMake's own FindBoost
# finds them there (the CMake package of Debian's Boost is for the build machine).
if(EXISTS /usr/include/boost/version.hpp)
  file(MAKE_DIRECTORY ${HOST_HEADER_ROOT}/usr/include)
  file(CREATE_LINK /usr/include/boost ${HOST_HEADER_ROOT}/usr/include/boost SYMBOLIC)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX} ${HOST_HEADER_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run by the tests go through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Optimise as the Linux build does (-O2): GCC 12 at -O3 raises a false
# -Wrestrict on std::string concatenation, which -Werror turns into a failure.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
