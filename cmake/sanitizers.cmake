# AddressSanitizer and UndefinedBehaviorSanitizer over everything built here
# but the virtual board. Any report ends the process with a failure.
option(QUIVET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(QUIVET_SANITIZE)
  # The board is preloaded into the tool, ahead of a shared ASan runtime,
  # which ASan refuses. So the board stays uninstrumented and every program
  # carries its runtime inside: preload order no longer matters.
  set(_quivet_not_board "$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,quivet_vboard>>")
  set(_quivet_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options("$<${_quivet_not_board}:${_quivet_san}>")
  add_link_options("$<${_quivet_not_board}:${_quivet_san};-static-libasan;-static-libubsan>")
  unset(_quivet_san)
  unset(_quivet_not_board)
endif()
