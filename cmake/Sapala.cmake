# Helpers shared by every CMakeLists.txt of the project.

# Warnings are errors in our own code; third-party headers come in as system headers.
set(SAPALA_WARNINGS -Wall -Wextra -Wshadow -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Werror)

function(sapala_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Options every target of ours gets: warnings, the src/ include root, sanitizers, static
# run-time libraries on Windows (the program is one .exe with no DLLs of ours beside it).
function(sapala_target_defaults target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${SAPALA_WARNINGS}>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(SAPALA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(SAPALA_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-omit-frame-pointer)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0601 WINVER=0x0601)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endif()
endfunction()

# A library of the portable core: sapala_core_library(NAME sources... LIBS libs...)
function(sapala_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  sapala_target_defaults(${name})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY SAPALA_CORE_LIBRARIES ${name})
endfunction()

# A GoogleTest executable: sapala_test(NAME SOURCES ... LIBS ... [WINDOWS_ONLY] [TIMEOUT s])
# Natively each test case is its own CTest test; under Wine one CTest test per executable,
# since every start of a Windows program costs a second.
function(sapala_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  sapala_target_defaults(${name})
  target_compile_definitions(${name} PRIVATE
    SAPALA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" SAPALA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(WIN32)
    # Every Windows test executable checks that each test leaves no handle of ours open.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/win/support/leak_check.cpp)
    target_link_libraries(${name} PRIVATE sapala_base)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "windows;${T_LABELS}")
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}")
  endif()
endfunction()

# A native benchmark (Google Benchmark): sapala_benchmark(NAME SOURCES ... LIBS ...)
function(sapala_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  sapala_target_defaults(${name})
  target_compile_definitions(${name} PRIVATE
    SAPALA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" SAPALA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# A libFuzzer target over a corpus kept in the repo (fuzz/corpus/NAME) and the regression
# files of crashes found so far (fuzz/regressions/NAME). Two CTest tests: the regressions run
# once each, then a bounded fuzzing run that writes new inputs only into the build tree.
function(sapala_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  sapala_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  set(regressions ${PROJECT_SOURCE_DIR}/fuzz/regressions/${name})
  set(work ${PROJECT_BINARY_DIR}/fuzz-work/${name})
  file(MAKE_DIRECTORY ${work}/corpus ${work}/artifacts)
  add_test(NAME ${name}-regressions
    COMMAND ${CMAKE_COMMAND} -DFUZZER=$<TARGET_FILE:${name}> -DDIR=${regressions}
            -P ${PROJECT_SOURCE_DIR}/cmake/RunRegressions.cmake)
  add_test(NAME ${name}-fuzz
    COMMAND $<TARGET_FILE:${name}> -max_total_time=${SAPALA_FUZZ_SECONDS} -timeout=10
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${work}/artifacts/
            ${work}/corpus ${corpus})
  set_tests_properties(${name}-regressions ${name}-fuzz PROPERTIES LABELS fuzz
                       TIMEOUT 600)
endfunction()

function(sapala_find_dependencies)
  if(WIN32)
    if(NOT SAPALA_DEPS_DIR)
      message(FATAL_ERROR "SAPALA_DEPS_DIR is not set: run scripts/setup.sh (make setup) first")
    endif()
    list(APPEND CMAKE_PREFIX_PATH ${SAPALA_DEPS_DIR})
    list(APPEND CMAKE_FIND_ROOT_PATH ${SAPALA_DEPS_DIR})
    # SQLite is the FTS5 build that setup keeps beside the other dependencies.
    get_filename_component(deps_root ${SAPALA_DEPS_DIR} DIRECTORY)
    get_filename_component(triple ${SAPALA_DEPS_DIR} NAME)
    set(sqlite_dir ${deps_root}/sqlite3-fts5/${triple})
    if(NOT EXISTS ${sqlite_dir}/lib/libsqlite3.a)
      message(FATAL_ERROR "${sqlite_dir} is missing: run scripts/setup.sh (make setup)")
    endif()
    set(SQLite3_INCLUDE_DIR ${sqlite_dir}/include CACHE PATH "SQLite headers (FTS5 build)" FORCE)
    set(SQLite3_LIBRARY ${sqlite_dir}/lib/libsqlite3.a CACHE FILEPATH "SQLite (FTS5 build)" FORCE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh PARENT_SCOPE)
  endif()
  set(CMAKE_PREFIX_PATH ${CMAKE_PREFIX_PATH} PARENT_SCOPE)
  set(CMAKE_FIND_ROOT_PATH ${CMAKE_FIND_ROOT_PATH} PARENT_SCOPE)
  # Windows links zlib into the program (Debian's mingw zlib also offers zlib1.dll, which a clean
  # Windows does not have).
  if(WIN32)
    set(ZLIB_USE_STATIC_LIBS ON)
    foreach(v ZLIB_LIBRARY ZLIB_LIBRARY_RELEASE ZLIB_LIBRARY_DEBUG)
      if("${${v}}" MATCHES "\\.dll\\.a$")   # found by an older configure of this tree
        unset(${v} CACHE)
      endif()
    endforeach()
  endif()
  find_package(ZLIB REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(SQLite3 REQUIRED)
  if(SAPALA_TESTS)
    find_package(GTest REQUIRED)
  endif()
  if(SAPALA_BENCHMARKS AND NOT WIN32)
    find_package(benchmark REQUIRED)
  endif()
  find_package(Threads REQUIRED)
  # Imported targets found in a function are visible to the whole project only when global.
  foreach(t ZLIB::ZLIB JPEG::JPEG SQLite::SQLite3 GTest::gtest GTest::gtest_main GTest::gmock
            benchmark::benchmark Threads::Threads)
    if(TARGET ${t})
      set_target_properties(${t} PROPERTIES IMPORTED_GLOBAL TRUE)
    endif()
  endforeach()
endfunction()
