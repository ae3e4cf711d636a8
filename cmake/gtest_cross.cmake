# Builds GoogleTest from Debian's libgtest-dev sources for a cross target and
# lets find_package(GTest) find the result, so the tests need no change.
if(NOT CMAKE_CROSSCOMPILING OR TARGET GTest::gtest)
  return()
endif()
if(DEFINED QUIVET_BUILD_TESTS AND NOT QUIVET_BUILD_TESTS)
  return()
endif()

set(QUIVET_GTEST_SOURCE_DIR /usr/src/googletest/googletest
    CACHE PATH "GoogleTest sources built for the cross target")
if(NOT EXISTS ${QUIVET_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR
    "GoogleTest sources not found in ${QUIVET_GTEST_SOURCE_DIR}.\n"
    "Install them with: apt-get install libgtest-dev")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUIVET_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_gtest EXCLUDE_FROM_ALL)
# Not our code: a newer compiler's warnings in it must not fail a strict build.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
foreach(_quivet_lib gtest gtest_main)
  if(NOT TARGET GTest::${_quivet_lib})
    add_library(GTest::${_quivet_lib} ALIAS ${_quivet_lib})
  endif()
endforeach()

set(_quivet_gtest_config ${CMAKE_BINARY_DIR}/_gtest/config)
file(WRITE ${_quivet_gtest_config}/GTestConfig.cmake
  "# The targets exist already: built from source for the cross target.\n")
file(WRITE ${_quivet_gtest_config}/GTestConfigVersion.cmake
  "set(PACKAGE_VERSION ${GOOGLETEST_VERSION})\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
set(GTest_DIR ${_quivet_gtest_config} CACHE PATH "" FORCE)
unset(_quivet_gtest_config)
