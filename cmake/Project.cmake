# Helpers shared by every folder of the project.

# q_sanitizer_defaults(TARGET)
# In a sanitizer build, gives a program the sanitizer options it needs on this toolchain.
function(q_sanitizer_defaults target)
  if(QV_SANITIZE)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/SanitizerDefaults.cpp)
  endif()
endfunction()

# q_add_library(NAME [DEPS lib...])
# One static library per folder, made of every .cpp of the folder, plus its form resources.
function(q_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A program's main file (<Program>Main.cpp) is not part of the folder's library.
  list(FILTER sources EXCLUDE REGEX "Main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB forms CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.form)
  set(generated "")
  foreach(form ${forms})
    get_filename_component(formName ${form} NAME_WE)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/forms/${formName}_form.cpp)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${form} -DOUT=${out} -DNAME=${formName}
              -P ${PROJECT_SOURCE_DIR}/cmake/EmbedForm.cmake
      DEPENDS ${form} ${PROJECT_SOURCE_DIR}/cmake/EmbedForm.cmake
      COMMENT "Embedding form resource ${formName}.form")
    list(APPEND generated ${out})
  endforeach()
  if(NOT sources AND NOT generated)
    # A folder whose units are still to come: keep the target so that dependants link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(ARG_DEPS)
      target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${sources} ${headers} ${generated})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# q_add_tests(LIBS lib...)
# Every Test*.cpp of the calling folder becomes one test program, registered case by case.
function(q_add_tests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Test*.cpp)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  foreach(test ${tests})
    get_filename_component(testName ${test} NAME_WE)
    set(exe ${prefix}_${testName})
    add_executable(${exe} ${test})
    target_link_libraries(${exe} PRIVATE ${ARG_LIBS} test_support GTest::gtest)
    q_sanitizer_defaults(${exe})
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # The discovery script splits a list-valued ENVIRONMENT into separate words, so only one
    # variable goes this way; the folders reach the tests through test_support's compiled defaults
    # (or the QV_TEST_DATA, QV_SOURCE_DIR and QV_BUILD_DIR variables, which scripts/test exports).
    gtest_discover_tests(${exe}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()

# q_add_program(NAME MAIN file.cpp LIBS lib... INSTALL_DIR dir)
# A program made of its main file and the libraries; `cmake --install` puts it into INSTALL_DIR of the
# product folder (the install prefix).
function(q_add_program name)
  cmake_parse_arguments(ARG "" "MAIN;INSTALL_DIR" "LIBS" ${ARGN})
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_MAIN})
    return()
  endif()
  add_executable(${name} ${ARG_MAIN})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  q_sanitizer_defaults(${name})
  install(TARGETS ${name} RUNTIME DESTINATION ${ARG_INSTALL_DIR})
endfunction()
