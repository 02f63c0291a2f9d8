# Fails when a shared library of this build exports a test-only or internal name: the tests
# reach the control's insides through a copy compiled into them, so the library a test build
# makes is the one a default or install build makes. Arguments: LIBRARIES (";"-separated).
foreach(library ${LIBRARIES})
  execute_process(COMMAND nm -DC --defined-only ${library}
    RESULT_VARIABLE rc OUTPUT_VARIABLE symbols ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${library}: ${err}")
  endif()
  string(REGEX MATCHALL "[^\n]*qrt::[^\n]*(probe|arrangeLayout|LayoutBoxes|Private|CellStore|RowIndex|checkDraws|LoadMessage|PadString)[^\n]*"
         leaks "${symbols}")
  if(leaks)
    list(JOIN leaks "\n" shown)
    message(FATAL_ERROR "${library} exports test-only or internal names:\n${shown}")
  endif()
  string(FIND "${symbols}" "qrt::AppManager::save()" public)
  if(public EQUAL -1 AND library MATCHES "QRTDataManager")
    message(FATAL_ERROR "${library} does not export the control's interface")
  endif()
endforeach()
