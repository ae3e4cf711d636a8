# 32-bit big-endian PowerPC Linux, with Debian's cross compiler and qemu-ppc
# running the tests.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR powerpc)

set(QUIVET_PPC_TRIPLE powerpc-linux-gnu)
set(QUIVET_PPC_SYSROOT /usr/${QUIVET_PPC_TRIPLE})

# A missing package should say which one, not fail later in compiler checks.
find_program(QUIVET_PPC_CXX ${QUIVET_PPC_TRIPLE}-g++)
find_program(QUIVET_PPC_CC ${QUIVET_PPC_TRIPLE}-gcc)
if(NOT QUIVET_PPC_CXX OR NOT QUIVET_PPC_CC)
  message(FATAL_ERROR
    "The PowerPC cross compiler ${QUIVET_PPC_TRIPLE}-g++ was not found.\n"
    "Install it with: apt-get install g++-powerpc-linux-gnu")
endif()
set(CMAKE_C_COMPILER ${QUIVET_PPC_CC})
set(CMAKE_CXX_COMPILER ${QUIVET_PPC_CXX})

# Release builds run nothing at build time, so only test builds need qemu.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUIVET_BUILD_TESTS)
find_program(QUIVET_QEMU_PPC qemu-ppc)
if(QUIVET_QEMU_PPC)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUIVET_QEMU_PPC};-L;${QUIVET_PPC_SYSROOT})
elseif(NOT DEFINED QUIVET_BUILD_TESTS OR QUIVET_BUILD_TESTS)
  message(FATAL_ERROR
    "qemu-ppc was not found; the PowerPC tests run under it.\n"
    "Install it with: apt-get install qemu-user\n"
    "(or configure with -DQUIVET_BUILD_TESTS=OFF to build without tests)")
endif()

# Target libraries and packages only from the cross sysroot; the host's
# x86-64 GoogleTest must never be picked up.
set(CMAKE_FIND_ROOT_PATH ${QUIVET_PPC_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian ships GoogleTest as sources only for other architectures; this
# builds it for the target right after project(), before the tests ask.
set(CMAKE_PROJECT_quivet_config_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/gtest_cross.cmake)
