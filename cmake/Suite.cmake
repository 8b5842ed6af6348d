# Helpers shared by the subsystem CMakeLists: one static library per source folder, one test
# executable per test folder. Sources are globbed so a new module needs no CMake edit.
include(GoogleTest)

# suite_library(<target> [QT] [DIRS <subfolders>...] [DEPS <targets>...]): the *.cpp of the
# current folder (and of DIRS). Without QT the target links no Qt at all, so model code cannot
# reach a widget header. A folder without sources yet gives an interface target.
function(suite_library target)
  cmake_parse_arguments(ARG "QT" "" "DIRS;DEPS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(dir ${ARG_DIRS})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    if(ARG_QT)
      target_link_libraries(${target} INTERFACE Qt6::Core Qt6::Gui Qt6::Widgets)
    endif()
    return()
  endif()
  file(GLOB files CONFIGURE_DEPENDS ${patterns})
  add_library(${target} STATIC ${files})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    # A header added later must re-run moc in an existing build. Adding a file re-runs the
    # configure step (the glob changed), but the moc step's timestamp would keep the old header
    # list, so every configure drops it.
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
  endif()
endfunction()

# suite_tests(<target> DEPS <targets>...): the *.cpp of the current test folder as one
# GoogleTest executable; fixtures beside the tests are found through SUITE_FIXTURES, the source
# tree through SUITE_SOURCE_DIR (a compiler cache may make __FILE__ relative).
function(suite_tests target)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(ARG_QT)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/tests/support/QtTestMain.cpp)
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PRIVATE Qt6::Test)
  else()
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${target} PRIVATE
    SUITE_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    SUITE_BINARY_DIR="${CMAKE_BINARY_DIR}"
    SUITE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
