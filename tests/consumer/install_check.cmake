# Installs a Release build into a scratch prefix and uses the installed copy as a user would:
# the program runs from the prefix with no library path set, the shared libraries export only
# the public interface, and a separate project builds and runs a host with find_package.
# Arguments: RELEASE_DIR, SOURCE_DIR (this folder), DATA_DIR (tests/data), WORK_DIR.
if(NOT RELEASE_DIR)
  message("not configured: no Release build tree was given (tools/test.sh gives build/release)")
  return()
endif()
if(NOT EXISTS ${RELEASE_DIR}/CMakeCache.txt)
  message(FATAL_ERROR "no Release build tree at '${RELEASE_DIR}': configure the tests with "
                      "-DQRT_RELEASE_DIR=<a built Release tree>, as tools/test.sh does")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run expected)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT "${rc}" STREQUAL "${expected}")
    message(FATAL_ERROR "${ARGN}\nexited with ${rc}, expected ${expected}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(0 ${CMAKE_COMMAND} --install ${RELEASE_DIR} --prefix ${prefix})

# Nothing but a plain environment: the installed RPATH must find the libraries.
set(plain ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen)
set(program ${prefix}/bin/qrt-datamanager)
run(0 ${plain} ${program} --check ${DATA_DIR}/de-6of49-1955-2026.txt --lottery 6:1-49)
run(1 ${plain} ${program} --check ${DATA_DIR}/broken.txt --lottery 6of49)
run(0 ${plain} ${program} --data-dir ${WORK_DIR}/data --screenshot ${WORK_DIR}/shot.png)
if(NOT EXISTS ${WORK_DIR}/shot.png OR NOT EXISTS ${WORK_DIR}/data/store.db)
  message(FATAL_ERROR "the installed program wrote no screenshot or no store")
endif()

# The shared libraries export the interface and the core, never the control's insides, and
# no name twice.
file(GLOB libraries ${prefix}/lib*/libQRT*.so)
list(LENGTH libraries count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "expected the two shared libraries in the prefix, found: ${libraries}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} "-DLIBRARIES=${libraries}" -P ${SOURCE_DIR}/../check_exports.cmake
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${err}")
endif()

# Consumers get the include folder and nothing below or beside it.
file(GLOB targets ${prefix}/lib*/cmake/QRTDataManager/QRTDataManagerTargets.cmake)
file(READ ${targets} exported)
string(REGEX MATCHALL "INTERFACE_INCLUDE_DIRECTORIES \"[^\"]*\"" dirs "${exported}")
foreach(d ${dirs})
  if(NOT d STREQUAL "INTERFACE_INCLUDE_DIRECTORIES \"\${_IMPORT_PREFIX}/include\"")
    message(FATAL_ERROR "the exported include folders are not just include/: ${d}")
  endif()
endforeach()

run(0 ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${prefix})
run(0 ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(0 ${plain} ${WORK_DIR}/build/consumer)

# A version the package is not (another major version) is refused; its own is taken.
run(1 ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build-next -DCMAKE_PREFIX_PATH=${prefix}
    -DQRT_REQUIRED_VERSION=1.0)
run(0 ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build-exact -DCMAKE_PREFIX_PATH=${prefix}
    -DQRT_REQUIRED_VERSION=0.1.0)

# The same host built with pkg-config alone, as a host without CMake builds it.
file(GLOB pc_dirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
list(JOIN pc_dirs ":" pc_path)
set(pkgconf ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_path} pkg-config)
run(0 ${pkgconf} --modversion qrt-refhost)
if(NOT last_output MATCHES "^0\\.1\\.0")
  message(FATAL_ERROR "pkg-config reports version ${last_output}")
endif()
run(0 ${pkgconf} --variable=libdir qrt-refhost)
string(STRIP "${last_output}" pc_libdir)
run(0 ${pkgconf} --cflags --libs qrt-refhost)
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(0 c++ -std=c++20 -fPIC ${SOURCE_DIR}/main.cpp -o ${WORK_DIR}/consumer-pc ${flags})
run(0 ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${pc_libdir} QT_QPA_PLATFORM=offscreen
    ${WORK_DIR}/consumer-pc)
