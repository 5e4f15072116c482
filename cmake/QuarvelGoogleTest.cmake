# GoogleTest for the Windows test programs, cross-built from Debian's sources (package
# googletest), as the project's targets GTest::gtest and GTest::gmock.
include(QuarvelPackages)
quarvel_package_file(QUARVEL_GOOGLETEST_DIR googletest "/src/googletest/CMakeLists\\.txt")

set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QUARVEL_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
