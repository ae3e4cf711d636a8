# Size-optimised release for the small host: unused functions and data are
# dropped at link time and the binary is stripped. MinSizeRel adds -Os.
# It runs as root on what a file and a keyboard hand it, so it is hardened
# as Debian hardens its packages, whatever the compiler's defaults: stack
# protector, fortified C library calls, full RELRO, and PIE where dynamic.
set(_quivet_rel "$<CONFIG:MinSizeRel>")
set(_quivet_pie "$<AND:${_quivet_rel},$<NOT:$<BOOL:${QUIVET_STATIC}>>>")
foreach(_quivet_target ${QUIVET_TOOL_LIBS} ${QUIVET_PROGRAMS})
  target_compile_options(${_quivet_target} PRIVATE
    "$<${_quivet_rel}:-ffunction-sections;-fdata-sections;-fstack-protector-strong>"
    "$<${_quivet_pie}:-fPIE>")
  target_compile_definitions(${_quivet_target} PRIVATE "$<${_quivet_rel}:_FORTIFY_SOURCE=2>")
endforeach()
foreach(_quivet_target ${QUIVET_PROGRAMS})
  target_link_options(${_quivet_target} PRIVATE
    "$<${_quivet_rel}:-Wl,--gc-sections;-static-libgcc;-Wl,-O1;-Wl,-z,relro;-Wl,-z,now>"
    "$<$<AND:${_quivet_rel},$<NOT:$<BOOL:${QUIVET_MUSL}>>>:-s>"
    "$<${_quivet_pie}:-pie>")
endforeach()
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" AND CMAKE_OBJCOPY)
  # Compiler version strings: dead weight on the host. The musl tool is
  # stripped here, not by the linker: scripts/test-builds.sh names the function
  # of any FP instruction from the copy kept with its symbols.
  foreach(_quivet_target ${QUIVET_PROGRAMS})
    add_custom_command(TARGET ${_quivet_target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${_quivet_target}> $<TARGET_FILE:${_quivet_target}>.sym
      COMMAND ${CMAKE_OBJCOPY} "--remove-section=.comment$<$<BOOL:${QUIVET_MUSL}>:;--strip-all>"
              $<TARGET_FILE:${_quivet_target}> VERBATIM COMMAND_EXPAND_LISTS)
  endforeach()
endif()

# The shipped binaries depend on glibc alone. Linking through the C driver
# (what -nostdlib++ does in newer compilers) leaves libstdc++ out, so any
# use of it fails here, naming the symbol, instead of on the host.
# Only this directory's targets see the trimmed list; tests and the virtual
# board in subdirectories keep libstdc++.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set_target_properties(${QUIVET_PROGRAMS} PROPERTIES LINKER_LANGUAGE C)
  list(REMOVE_ITEM CMAKE_CXX_IMPLICIT_LINK_LIBRARIES stdc++)
endif()
unset(_quivet_rel)
unset(_quivet_pie)
unset(_quivet_target)
