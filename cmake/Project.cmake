# Helpers shared by every folder of the project.

# q_sanitizer_defaults(TARGET)
# In a sanitizer build, gives a program the sanitizer options it needs on this toolchain.
function(q_sanitizer_defaults target)
  if(QV_SANITIZE)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/SanitizerDefaults.cpp)
  endif()
endfunction()

# Layers are held by the include paths. The source root is no include folder: a library's headers are
# reached through an include tree of its own in the build folder, <build>/include/<library>/<folder>/, which
# holds a link to each of its headers. The library puts its tree on its PUBLIC include path, so a file sees
# a folder's headers only when its target links that folder's library, directly or through PUBLIC links;
# an include across an undeclared edge does not compile. Third-party libraries are linked PRIVATE, so their
# headers stay with the library that uses them.

# q_header_tree(TREE FOLDER header...)
# Makes TREE/FOLDER hold a link to each header, and nothing else: a header that was removed or made private
# since the last configure is gone from it.
function(q_header_tree tree folder)
  file(REMOVE_RECURSE ${tree})
  file(MAKE_DIRECTORY ${tree}/${folder})
  foreach(header ${ARGN})
    get_filename_component(headerName ${header} NAME)
    file(CREATE_LINK ${header} ${tree}/${folder}/${headerName} SYMBOLIC)
  endforeach()
endfunction()

# q_add_library(NAME [PUBLIC lib...] [PRIVATE lib...] [PRIVATE_HEADERS header...])
# One static library per folder, made of every .cpp of the folder, plus its form resources. PUBLIC names
# the libraries that the folder's public headers use, PRIVATE those that only its own sources use
# (third-party libraries always go there). PRIVATE_HEADERS are reached by the library itself and by the
# targets that link NAME_private (its tests); NAME_private also brings the PRIVATE libraries.
function(q_add_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE;PRIVATE_HEADERS" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A program's main file (<Program>Main.cpp) is not part of the folder's library.
  list(FILTER sources EXCLUDE REGEX "Main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB forms CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.form)
  if(NOT sources)
    message(FATAL_ERROR "${folder} holds no source file for the library ${name}")
  endif()
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

  set(publicHeaders "")
  set(privateHeaders "")
  foreach(header ${headers})
    get_filename_component(headerName ${header} NAME)
    if(headerName IN_LIST ARG_PRIVATE_HEADERS)
      list(APPEND privateHeaders ${header})
    else()
      list(APPEND publicHeaders ${header})
    endif()
  endforeach()
  foreach(headerName ${ARG_PRIVATE_HEADERS})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${headerName})
      message(FATAL_ERROR "${folder}: the private header ${headerName} does not exist")
    endif()
  endforeach()
  # Users of the library reach its public headers only: those may include neither a third-party header
  # (Qt, Firebird) nor one of the folder's private headers.
  set(hidden "<(Q|q[a-z]+\\.h|firebird/|ibase\\.h)")
  foreach(headerName ${ARG_PRIVATE_HEADERS})
    string(REPLACE "." "\\." headerName ${headerName})
    string(APPEND hidden "|\"${folder}/${headerName}\"")
  endforeach()
  foreach(header ${publicHeaders})
    file(STRINGS ${header} reached REGEX "^[ \t]*#[ \t]*include[ \t]*(${hidden})")
    if(reached)
      message(FATAL_ERROR "${header} is a public header of ${name} but has ${reached}: users of ${name} "
                          "cannot reach it (make the header private, or forward-declare)")
    endif()
  endforeach()

  add_library(${name} STATIC ${sources} ${headers} ${generated})
  set(tree ${PROJECT_BINARY_DIR}/include/${name})
  q_header_tree(${tree} ${folder} ${publicHeaders})
  target_include_directories(${name} PUBLIC ${tree})
  if(ARG_PUBLIC)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC})
  endif()
  if(ARG_PRIVATE)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE})
  endif()
  if(privateHeaders)
    set(privateTree ${PROJECT_BINARY_DIR}/include/${name}_private)
    q_header_tree(${privateTree} ${folder} ${privateHeaders})
    target_include_directories(${name} PRIVATE ${privateTree})
    add_library(${name}_private INTERFACE)
    target_include_directories(${name}_private INTERFACE ${privateTree})
    target_link_libraries(${name}_private INTERFACE ${name} ${ARG_PRIVATE})
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
    message(FATAL_ERROR "${name}: the main file ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_MAIN} does not exist")
  endif()
  add_executable(${name} ${ARG_MAIN})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  q_sanitizer_defaults(${name})
  install(TARGETS ${name} RUNTIME DESTINATION ${ARG_INSTALL_DIR})
endfunction()
