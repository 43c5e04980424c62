# Cross-built test programs run under Wine: CTest and gtest_discover_tests start them through
# a small script that keeps Wine's prefix inside the build folder, so nothing of the user's
# own Wine setup is touched and a fresh build starts from a fresh prefix.
find_program(LAPVISTA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(LAPVISTA_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine
             NO_CMAKE_FIND_ROOT_PATH)
if(NOT LAPVISTA_WINE)
  message(STATUS "Wine not found: the Windows tests can be built but not run here")
  return()
endif()
set(LAPVISTA_WINE_PREFIX ${PROJECT_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
# Listing the tests of a program starts Wine; doing that when the tests run, not after every
# link, keeps building free of Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
