# The export table of a plug-in DLL, read with the binutils' objdump:
#   cmake -DOBJDUMP=<objdump> -DDLL=<plugin.dll> -P check_exports.cmake
# Fails unless the DLL exports exactly the five entry points by their plain
# names (no 32-bit decoration such as CheckFile@8) and imports no runtime DLL
# of the compiler (libstdc++, libgcc, libwinpthread), which users do not have.
# In the C locale: the headings below are translated in others.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C LANGUAGE= "${OBJDUMP}" -p "${DLL}"
                OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${result}")
endif()

string(FIND "${dump}" "[Ordinal/Name Pointer] Table" table_start)
if(table_start LESS 0)
  message(FATAL_ERROR "${DLL} has no export name table")
endif()
string(SUBSTRING "${dump}" ${table_start} -1 table)
string(REGEX MATCHALL "\n[ \t]+\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(names "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\n[ \t]+\\[ *[0-9]+\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected CheckFile GetTitle InitCheck Release ReturnMessage)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${DLL} exports [${names}], not [${expected}]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(import IN LISTS imports)
  if(import MATCHES "libstdc|libgcc|libwinpthread")
    message(FATAL_ERROR "${DLL} needs a compiler runtime DLL: ${import}")
  endif()
endforeach()
message(STATUS "${DLL}: exports ${names}; ${imports}")
