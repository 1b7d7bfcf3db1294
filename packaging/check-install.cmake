# Installs a finished build tree into a scratch prefix and checks that the bus interface is there,
# that the manual page reads without warnings through man and that the bash completion completes.
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -P check-install.cmake
foreach(variable BUILD_DIR WORK_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}"
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

# Bars and scripts find the bus interface where D-Bus tools look for it.
if(NOT EXISTS "${WORK_DIR}/share/dbus-1/interfaces/app.zentrel.Zentrel1.xml")
  message(FATAL_ERROR "the app.zentrel.Zentrel1 interface is not installed")
endif()

execute_process(COMMAND man --warnings -M "${WORK_DIR}/share/man" zentrel
  OUTPUT_VARIABLE page ERROR_VARIABLE warnings RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "" OR NOT page MATCHES "zentrel status")
  message(FATAL_ERROR "man zentrel failed (${result}):\n${warnings}")
endif()

# Each case: the words typed so far, then what the completion offers.
set(completion "${WORK_DIR}/share/bash-completion/completions/zentrel")
foreach(case "zentrel st|status" "zentrel status --|--json --follow" "zentrel complete -|--json")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 typed)
  list(GET case 1 expected)
  execute_process(COMMAND bash -c
    "source '${completion}'; COMP_WORDS=(${typed}); COMP_CWORD=$((\${#COMP_WORDS[@]} - 1)); _zentrel; echo -n \"\${COMPREPLY[*]}\""
    OUTPUT_VARIABLE offered COMMAND_ERROR_IS_FATAL ANY)
  if(NOT offered STREQUAL expected)
    message(FATAL_ERROR "completing '${typed}' offered '${offered}', not '${expected}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")
