# GoogleTest from the source package, and vorelix_add_test() for native and Wine-run test programs.
set(VORELIX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(VORELIX_HAVE_GTEST OFF)
if(EXISTS "${VORELIX_GTEST_SOURCE}/CMakeLists.txt")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${VORELIX_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  set(VORELIX_HAVE_GTEST ON)
else()
  message(STATUS "GoogleTest source not found at ${VORELIX_GTEST_SOURCE}: tests are not built")
endif()
include(GoogleTest)

# The folder of real demos as the test program sees it: under Wine the Linux root is drive Z:.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(VORELIX_TEST_DEMOS_DIR "Z:${VORELIX_DEMOS_DIR}")
else()
  set(VORELIX_TEST_DEMOS_DIR "${VORELIX_DEMOS_DIR}")
endif()

# vorelix_add_test(<name> SOURCES ... [LIBS ...] [WINDOWS_RESOURCES] [RESOURCE_LOCK <name>])
# One GoogleTest program; each of its tests becomes one ctest test named <name>.<Suite>.<Test>.
# Tests that share a RESOURCE_LOCK (say, the game's own registry key) never run at the same time.
function(vorelix_add_test name)
  cmake_parse_arguments(T "WINDOWS_RESOURCES" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  set(sources ${T_SOURCES})
  if(T_WINDOWS_RESOURCES AND WIN32)
    list(APPEND sources ${VORELIX_RESOURCE_FILES})
  endif()
  set(T_RESOURCE_LOCK_PROPERTY)
  if(T_RESOURCE_LOCK)
    set(T_RESOURCE_LOCK_PROPERTY RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vorelix_test_support GTest::gtest_main)
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 180
    PROPERTIES TIMEOUT 120 ${T_RESOURCE_LOCK_PROPERTY})
endfunction()
