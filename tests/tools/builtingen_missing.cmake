# Runs builtingen on a copy of the table of the program's own texts in which
# one row misses its German text, and checks that the tool fails, names the
# row and its line, and writes nothing.
#   cmake -DBUILTINGEN=... -DTABLE=... -DWORK=... -P builtingen_missing.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(STRINGS ${TABLE} lines ENCODING UTF-8)

# The copy: the first row of texts loses its last cell; its line number and
# id are what the message must name.
set(out "")
set(number 0)
set(broken "")
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(broken STREQUAL "" AND NOT line MATCHES "^#" AND NOT line MATCHES "^id\t")
    string(REGEX REPLACE "\t[^\t]*$" "\t" line "${line}")
    string(REGEX MATCH "^[^\t]+" broken "${line}")
    set(brokenLine ${number})
  endif()
  string(APPEND out "${line}\n")
endforeach()
if(broken STREQUAL "")
  message(FATAL_ERROR "the table ${TABLE} has no row to break")
endif()
file(WRITE ${WORK}/builtin.tsv "${out}")

execute_process(
  COMMAND ${BUILTINGEN} ${WORK}/builtin.tsv ${WORK}/builtinid.h ${WORK}/builtintable.cpp
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(result EQUAL 0)
  message(FATAL_ERROR "builtingen accepted a row without its German text")
endif()
set(want "builtin.tsv:${brokenLine}: row ${broken}: the Deutsch text is missing")
string(FIND "${errors}" "${want}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "builtingen did not name the row; want \"${want}\", got:\n${errors}")
endif()
if(EXISTS ${WORK}/builtinid.h OR EXISTS ${WORK}/builtintable.cpp)
  message(FATAL_ERROR "builtingen wrote its output despite the fault")
endif()
file(REMOVE_RECURSE ${WORK})
