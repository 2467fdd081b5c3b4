# The system's own code keeps its sources in UTF-8 and its narrow literals in
# code page 936: every text the system handles at run time is GBK.
function(cantiva_system_code target)
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP936)
endfunction()

# Adds every folder below `parent` that has a CMakeLists.txt, at any depth,
# without descending into the folders it added (they add their own children).
function(cantiva_add_subdirectories parent)
  file(GLOB_RECURSE lists CONFIGURE_DEPENDS
       RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${parent}/*/CMakeLists.txt)
  list(SORT lists)
  set(added "")
  foreach(list_file ${lists})
    get_filename_component(dir ${list_file} DIRECTORY)
    set(inside FALSE)
    foreach(a ${added})
      string(FIND "${dir}/" "${a}/" at)
      if(at EQUAL 0)
        set(inside TRUE)
      endif()
    endforeach()
    if(NOT inside)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_BINARY_DIR}/${dir})
      list(APPEND added ${dir})
    endif()
  endforeach()
endfunction()

# A platform module: one shared library under the Windows module's name
# (libkernel32.so, libuser32.so, ...), so that binding by name can dlopen it.
function(cantiva_platform_module name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} SHARED ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/platform)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden)
  target_compile_definitions(${name} PRIVATE PLATFORM_BUILDING_MODULE)
endfunction()

# One test executable per folder of tests/: every *_test.cpp in it.
# Tests of the system's code are compiled like the system's code. LABELS
# labels every test of the folder (gui: needs a private X server).
function(cantiva_test_folder name)
  cmake_parse_arguments(T "SYSTEM_CODE" "" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  if(T_SYSTEM_CODE)
    cantiva_system_code(${name})
  endif()
  include(GoogleTest)
  # One environment entry only: a list here would be spread over the
  # properties after it. The sanitizer build checks for leaks by default.
  set(properties ENVIRONMENT "CANTIVA_DISPLAY=headless")
  if(T_LABELS)
    list(APPEND properties LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
