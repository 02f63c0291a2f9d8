# Checks the Debian package that tools/package.sh made in PACKAGE_DIR: what it installs and
# where, its declared dependencies, and that its programs and libraries have no RPATH and no
# symbol table. Arguments: PACKAGE_DIR, WORK_DIR.
if(NOT PACKAGE_DIR)
  message("not configured: no package folder was given (tools/test.sh gives build/package)")
  return()
endif()
file(GLOB debs ${PACKAGE_DIR}/qrt-datamanager_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one qrt-datamanager_*.deb in '${PACKAGE_DIR}', found ${count}: "
                      "make it with tools/package.sh and configure the tests with "
                      "-DQRT_PACKAGE_DIR=build/package, as tools/test.sh does")
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nexited with ${rc}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(dpkg-deb --contents ${debs})
set(contents "${last_output}")
set(lib usr/lib/x86_64-linux-gnu)
foreach(path
    usr/bin/qrt-datamanager
    ${lib}/libQRTDataManager.so.0
    ${lib}/libQRTRefHost.so.0
    ${lib}/cmake/QRTDataManager/QRTDataManagerConfigVersion.cmake
    ${lib}/pkgconfig/qrt-datamanager.pc
    ${lib}/pkgconfig/qrt-refhost.pc
    usr/include/qrt/AppManager.h
    usr/share/applications/org.qrt.DataManager.desktop
    usr/share/icons/hicolor/scalable/apps/org.qrt.DataManager.svg
    usr/share/metainfo/org.qrt.DataManager.metainfo.xml
    usr/share/mime/packages/org.qrt.DataManager.xml
    usr/share/man/man1/qrt-datamanager.1.gz
    usr/share/doc/qrt-datamanager/copyright
    usr/share/doc/qrt-datamanager/changelog.gz)
  if(NOT contents MATCHES " \\./${path}[ \n]")
    message(FATAL_ERROR "the package does not hold /${path}:\n${contents}")
  endif()
endforeach()
foreach(stray "\\./usr/local" "\\./opt" "\\./home" "/designer/" "example_" "qrt-bench")
  if(contents MATCHES "${stray}")
    message(FATAL_ERROR "the package holds what it should not (${stray}):\n${contents}")
  endif()
endforeach()

# The run-time plugins no library links: the SQLite driver and the platform plugins.
run(dpkg-deb --field ${debs} Depends)
foreach(dependency libqt6sql6-sqlite qt6-qpa-plugins libqt6widgets6 libqt6charts6 libc6)
  if(NOT last_output MATCHES "(^|, )${dependency}( |,|$)")
    message(FATAL_ERROR "the package does not depend on ${dependency}: ${last_output}")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
run(dpkg-deb --extract ${debs} ${WORK_DIR})
file(GLOB binaries ${WORK_DIR}/usr/bin/* ${WORK_DIR}/${lib}/libQRT*.so.*.*)
foreach(binary ${binaries})
  run(readelf --dynamic --section-headers ${binary})
  if(last_output MATCHES "RPATH|RUNPATH|\\.symtab|\\.debug_")
    message(FATAL_ERROR "${binary} has an RPATH or is not stripped")
  endif()
endforeach()
