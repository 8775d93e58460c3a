# One static library per layer folder: every .cpp in the folder belongs to it (but those
# excluded), so adding a file needs no change here. A folder without sources yet becomes an interface library.
function(norvel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SYSTEM_LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${name}/${excluded})
  endforeach()
  set(target norvel_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR})
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} ${scope} norvel_${dep})
  endforeach()
  target_link_libraries(${target} ${scope} ${ARG_SYSTEM_LIBS} ${NORVEL_SYSTEM_LIBS})
endfunction()

# Windows libraries every subsystem may use; static linking wants them named once for all.
set(NORVEL_SYSTEM_LIBS
  winhttp wintrust crypt32 bcrypt ole32 oleaut32 uuid shell32 shlwapi advapi32 user32 gdi32
  comctl32 comdlg32 windowscodecs iphlpapi netapi32 version msimg32 uxtheme dwmapi ws2_32)

# One GoogleTest program per subsystem: tests/<name>/*.cpp, registered whole with CTest.
function(norvel_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  set(target tests_${name})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} norvel_testsupport gtest)
  target_link_options(${target} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${target} --gtest_color=no)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  # Wine can end a program whose stack was smashed with exit code 0: its crash report must
  # fail the test all the same.
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}"
    FAIL_REGULAR_EXPRESSION "wine: Unhandled"
    ENVIRONMENT "NORVEL_SOURCE_DIR=${CMAKE_SOURCE_DIR};NORVEL_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
