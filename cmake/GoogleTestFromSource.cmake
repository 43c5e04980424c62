# Debian's libgtest-dev holds Linux libraries; a cross build compiles GoogleTest from the
# sources of Debian's googletest package with its own compiler instead.
set(googletest_source /usr/src/googletest)
if(NOT EXISTS ${googletest_source}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${googletest_source} (package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${googletest_source} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# The sources name their targets GTest::gtest_main and so on, as find_package(GTest) does.
