# One static library per source folder: every .cpp under the folder (except main/) belongs to it.
function(velmora_folder_library name)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/main/")
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# One test executable per test folder, each case registered with CTest under the given label.
function(velmora_test_folder name label)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/programs/")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VELMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${label} TIMEOUT 300
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;DISPLAY=;VELMORA_RUNTIME_DIR=${CMAKE_BINARY_DIR}/runtime")
endfunction()

# Small stand-alone programs that end-to-end tests run (tests/<folder>/programs/*.cpp), built
# into <build>/programs.
function(velmora_test_programs)
  file(GLOB progs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/programs/*.cpp)
  foreach(src ${progs})
    get_filename_component(n ${src} NAME_WE)
    add_executable(${n} ${src})
    target_link_libraries(${n} PRIVATE ${ARGN})
    set_target_properties(${n} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/programs)
  endforeach()
endfunction()
