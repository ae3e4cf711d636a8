# AddressSanitizer and UndefinedBehaviorSanitizer over everything built here:
# the tool, the virtual board and every test. Any report ends the process.
option(QUIVET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(QUIVET_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

# A library preloaded into the sanitized tool must come after the ASan runtime
# in LD_PRELOAD, or ASan refuses to start. Prepend this to the board library.
set(QUIVET_PRELOAD_PREFIX "")

if(QUIVET_SANITIZE)
  add_compile_options(${QUIVET_SANITIZER_FLAGS})
  add_link_options(${QUIVET_SANITIZER_FLAGS})
  execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
    OUTPUT_VARIABLE QUIVET_ASAN_RUNTIME OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${QUIVET_ASAN_RUNTIME}" OR NOT EXISTS "${QUIVET_ASAN_RUNTIME}")
    message(FATAL_ERROR "QUIVET_SANITIZE: the compiler has no shared libasan.so")
  endif()
  set(QUIVET_PRELOAD_PREFIX "${QUIVET_ASAN_RUNTIME}:")
endif()
