# Fails when the shared libraries export a test-only name or the control's insides, or when
# one name is defined in two of them. The core (containers, rules, modPublic) is compiled into
# the control's library alone and exported from there for the reference host, the domain layer
# and the tests; its headers are never installed. The tests reach the control's insides
# through a copy compiled into them, so a test build's libraries are a shipped build's.
# Arguments: LIBRARIES (";"-separated).
set(seen)
foreach(library ${LIBRARIES})
  execute_process(COMMAND nm -DC --defined-only ${library}
    RESULT_VARIABLE rc OUTPUT_VARIABLE symbols ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${library}: ${err}")
  endif()
  string(REGEX MATCHALL "[^\n]*qrt::[^\n]*(probe|Probe|arrangeLayout|LayoutBoxes|Private|twipsTo|synthesizeKey)[^\n]*"
         leaks "${symbols}")
  if(leaks)
    list(JOIN leaks "\n" shown)
    message(FATAL_ERROR "${library} exports test-only or internal names:\n${shown}")
  endif()
  string(FIND "${symbols}" "qrt::AppManager::save()" public)
  if(public EQUAL -1 AND library MATCHES "QRTDataManager")
    message(FATAL_ERROR "${library} does not export the control's interface")
  endif()
  # Each name with its kind of definition stripped: "T qrt::f()" -> "qrt::f()".
  string(REGEX MATCHALL "[^\n]*qrt::[^\n]*" names "${symbols}")
  list(TRANSFORM names REPLACE "^[0-9a-f]* *[A-Za-z] " "")
  list(REMOVE_DUPLICATES names)
  foreach(name ${names})
    string(MD5 key "${name}")
    if(DEFINED defined_${key})
      message(FATAL_ERROR "${name} is defined in ${defined_${key}} and ${library}")
    endif()
    set(defined_${key} ${library})
  endforeach()
endforeach()
