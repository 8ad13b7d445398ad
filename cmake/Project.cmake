# Helpers shared by every folder's CMakeLists.

# project_library(<name> <dir> DEPS <targets...> [QT])
# A static library of every .cpp in <dir>; an interface target while the folder has no code.
# QT: a platform layer built on Qt (and libjpeg, libutil), which stay private, so that the
# libraries above see only platform headers.
function(project_library name dir)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
      target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::PrintSupport JPEG::JPEG util)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# project_tests(<name> <dir> DEPS <targets...> [GUI])
# One GoogleTest executable of every .cpp in <dir>, registered in CTest.
# GUI tests get a main that starts the application on the offscreen platform.
function(project_tests name dir)
  cmake_parse_arguments(ARG "GUI" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}" "${dir}")
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_main test_support GTest::gtest GTest::gmock)
  else()
    # Tests without windows may use the header-only support (temporary folders).
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST)
endfunction()

include(GoogleTest)
