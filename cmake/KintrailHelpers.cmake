# Helpers every deliverable uses for its targets and tests.

# kintrail_component_enabled(NAME OUT): is NAME among KINTRAIL_COMPONENTS?
function(kintrail_component_enabled name out)
  if("all" IN_LIST KINTRAIL_COMPONENTS OR name IN_LIST KINTRAIL_COMPONENTS)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# kintrail_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [GUI] [ENV ...])
# One GoogleTest executable, its cases registered with CTest one by one.
# GUI tests link the shared window-test main (QApplication offscreen).
# Each test runs with KINTRAIL_TESTDATA pointing at the shared test data and
# in its own working folder under the build tree.
function(kintrail_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE ${T_LIBS} kintrail::gui_test_main)
    list(APPEND T_LABELS gui)
    list(APPEND T_ENV QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
         "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu")
    if(KINTRAIL_SANITIZE)
      list(APPEND T_ENV "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan-qt.supp"
           "ASAN_OPTIONS=new_delete_type_mismatch=0")
    endif()
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${workdir})
  target_compile_definitions(${name} PRIVATE
    KINTRAIL_TESTDATA_DIR="${KINTRAIL_TESTDATA_DIR}"
    KINTRAIL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    KINTRAIL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # The environment goes on the command line through `env`, which CTest runs
  # both to discover the cases and to run each (gtest_discover_tests would
  # keep only the first element of a list-valued ENVIRONMENT property).
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
               env "KINTRAIL_TESTDATA=${KINTRAIL_TESTDATA_DIR}" ${T_ENV})
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    WORKING_DIRECTORY ${workdir}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT})
endfunction()

# kintrail_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, only
# with KINTRAIL_FUZZ=ON (configure with CC=clang CXX=clang++).
function(kintrail_add_fuzzer name)
  if(NOT KINTRAIL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
endfunction()

# kintrail_shared_library(TARGET ALIAS VERSION SOVERSION): the common settings
# of a delivered shared library (hidden symbols, versioned soname).
function(kintrail_shared_library target)
  cmake_parse_arguments(L "" "VERSION;SOVERSION" "" ${ARGN})
  set_target_properties(${target} PROPERTIES
    VERSION ${L_VERSION} SOVERSION ${L_SOVERSION}
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
