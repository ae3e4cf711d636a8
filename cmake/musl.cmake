# QUIVET_MUSL: the tool and its test copy on the board built soft-float on the
# static musl of scripts/musl.sh, so it runs on every 32-bit PowerPC core, FPU
# or not. Tests and fuzz replays stay on the toolchain's glibc, which
# GoogleTest and libstdc++ were built for.
set(QUIVET_TOOL_LIBS quivet_core quivet_platform)
if(NOT QUIVET_MUSL)
  return()
endif()
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/musl.sh OUTPUT_VARIABLE _musl
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# A new recipe is a new prefix; an evicted one is built again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/musl.sh
             ${PROJECT_SOURCE_DIR}/scripts/musl/sfp-machine.h ${_musl}/lib/link.rsp)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include OUTPUT_VARIABLE _gcc_include
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# libstdc++'s headers (header-only parts), then musl's, then the compiler's.
set(_includes ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
list(FILTER _includes INCLUDE REGEX "/c\\+\\+/")
list(APPEND _includes ${_musl}/include ${_gcc_include})
# Joined to their paths: a blank in one stays in it.
list(TRANSFORM _includes PREPEND "-isystem")
set(QUIVET_MUSL_FLAGS -msoft-float -mlong-double-64 -nostdinc ${_includes} "-include${CMAKE_CURRENT_LIST_DIR}/musl_compat.h")

get_target_property(_sources quivet_core SOURCES)
add_library(quivet_musl_core STATIC ${_sources} platform/posix_platform.cpp)
target_include_directories(quivet_musl_core PUBLIC ${PROJECT_SOURCE_DIR})
# What links it, the tool and its copy on the board, is built and linked alike.
target_compile_options(quivet_musl_core PUBLIC ${QUIVET_MUSL_FLAGS} PRIVATE ${QUIVET_TOOL_FLAGS})
target_link_options(quivet_musl_core INTERFACE -msoft-float "-B${_musl}/lib/" "@${_musl}/lib/link.rsp")
set(QUIVET_TOOL_LIBS quivet_musl_core)
