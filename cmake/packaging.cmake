# Install layout and the Debian package. Packages install under /usr
# (CPack's default prefix for DEB); a plain install honours DESTDIR.
include(GNUInstallDirs)

set(QUIVET_DEB_NAME quivet-config)
set(QUIVET_DEB_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${QUIVET_DEB_NAME})

install(TARGETS ${QUIVET_PROGRAMS} DESTINATION ${CMAKE_INSTALL_SBINDIR})

# Debian policy wants compressed docs without timestamps (gzip -n).
# The project packages itself: a native package, versioned like the
# project, with changelog.gz.
find_program(QUIVET_GZIP gzip REQUIRED)
set(_quivet_pkg ${CMAKE_CURRENT_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog.in ${_quivet_pkg}/changelog @ONLY)
set(_quivet_docs)
foreach(_quivet_doc docs/quivet_config.8 docs/quivet_config_check.8 docs/quivet.conf.5
        ${_quivet_pkg}/changelog)
  get_filename_component(_quivet_name ${_quivet_doc} NAME)
  get_filename_component(_quivet_doc ${_quivet_doc} ABSOLUTE)
  add_custom_command(OUTPUT ${_quivet_pkg}/${_quivet_name}.gz
    COMMAND ${QUIVET_GZIP} -9nc ${_quivet_doc} > ${_quivet_pkg}/${_quivet_name}.gz
    DEPENDS ${_quivet_doc} VERBATIM)
  list(APPEND _quivet_docs ${_quivet_pkg}/${_quivet_name}.gz)
endforeach()
add_custom_target(quivet_docs ALL DEPENDS ${_quivet_docs})

install(FILES ${_quivet_pkg}/quivet_config.8.gz ${_quivet_pkg}/quivet_config_check.8.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
install(FILES ${_quivet_pkg}/quivet.conf.5.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright
  ${_quivet_pkg}/changelog.gz DESTINATION ${QUIVET_DEB_DOCDIR})

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(powerpc|ppc)$")
  set(QUIVET_DEB_ARCH powerpc)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(QUIVET_DEB_ARCH amd64)
else()
  set(QUIVET_DEB_ARCH ${CMAKE_SYSTEM_PROCESSOR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUIVET_DEB_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quivet maintainers <quivet@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "terminal configuration tool for the quivet video board")
# The summary is the synopsis line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "quivet_config adjusts the quivet video board through its device /dev/quivet
from numbered text menus: brightness, contrast and colour of the tuner,
composite and S-Video inputs, horizontal resolution and shift, luminance
delay, dual audio input, tuner type, broadcast frequency table, RF output
channel and fine-tuned channel frequencies. Changes take effect at once and
can be saved to /etc/quivet.conf on a read-only root file system.
quivet_config_check says what quivet_config will make of a configuration
file before a host reads it.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QUIVET_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packages)
if(CMAKE_CROSSCOMPILING)
  # dpkg-shlibdeps needs the target's libc in the dpkg database; instead the
  # newest glibc symbol version the binaries ask for sets the dependency.
  set(CPACK_PROJECT_CONFIG_FILE ${_quivet_pkg}/cpack_cross.cmake)
  set(_quivet_files)
  foreach(_quivet_program ${QUIVET_PROGRAMS})
    string(APPEND _quivet_files " \"$<TARGET_FILE:${_quivet_program}>\"")
  endforeach()
  file(GENERATE OUTPUT ${_quivet_pkg}/cpack_cross.cmake CONTENT
"execute_process(COMMAND \"${CMAKE_OBJDUMP}\" -T${_quivet_files}
  OUTPUT_VARIABLE _syms COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL \"GLIBC_[0-9]+\\\\.[0-9]+\" _vers \"\${_syms}\")
set(_max 2.0)
foreach(_v IN LISTS _vers)
  string(SUBSTRING \"\${_v}\" 6 -1 _v)
  if(_v VERSION_GREATER _max)
    set(_max \${_v})
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS \"libc6 (>= \${_max})\")
")
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
unset(_quivet_pkg)
unset(_quivet_docs)
unset(_quivet_doc)
unset(_quivet_name)
unset(_quivet_files)
unset(_quivet_program)
