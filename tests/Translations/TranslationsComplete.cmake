# Every source text of every committed translation has its translation:
# lrelease counts none unfinished and ignores none, and the file keeps no
# entry of a text the sources no longer hold.
#
#   cmake -DSOURCE_DIR=<project folder> -DLRELEASE=<lrelease> -DWORK_DIR=<folder>
#         -P tests/Translations/TranslationsComplete.cmake

foreach(_needed SOURCE_DIR LRELEASE WORK_DIR)
  if(NOT ${_needed})
    message(FATAL_ERROR "Pass -D${_needed}=...")
  endif()
endforeach()

file(GLOB _ts_files "${SOURCE_DIR}/translations/*.ts")
if(NOT _ts_files)
  message(FATAL_ERROR "No translations in ${SOURCE_DIR}/translations")
endif()
file(MAKE_DIRECTORY "${WORK_DIR}")

set(_broken 0)
foreach(_ts IN LISTS _ts_files)
  get_filename_component(_name "${_ts}" NAME_WE)
  execute_process(COMMAND "${LRELEASE}" "${_ts}" -qm "${WORK_DIR}/${_name}.qm"
                  OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _status)
  set(_said "${_out}${_err}")
  string(REGEX MATCH "Generated ([0-9]+) translation\\(s\\) \\(([0-9]+) finished and ([0-9]+) unfinished\\)"
         _counts "${_said}")
  if(NOT _status EQUAL 0 OR NOT _counts)
    message(SEND_ERROR "${_name}: lrelease failed:\n${_said}")
    set(_broken 1)
    continue()
  endif()
  set(_generated ${CMAKE_MATCH_1})
  set(_finished ${CMAKE_MATCH_2})
  set(_unfinished ${CMAKE_MATCH_3})
  message(STATUS "${_name}: ${_generated} translations, ${_finished} finished, ${_unfinished} unfinished")
  if(NOT _unfinished EQUAL 0 OR _generated LESS 1)
    message(SEND_ERROR "${_name}: ${_unfinished} unfinished translation(s)")
    set(_broken 1)
  endif()
  # lrelease leaves out source texts with an empty translation and says so.
  if(_said MATCHES "Ignored ([0-9]+) untranslated source text")
    message(SEND_ERROR "${_name}: ${CMAKE_MATCH_1} source text(s) without a translation")
    set(_broken 1)
  endif()
  file(READ "${_ts}" _text)
  if(_text MATCHES "type=\"(unfinished|vanished|obsolete)\"")
    message(SEND_ERROR "${_name}: holds entries marked ${CMAKE_MATCH_1}")
    set(_broken 1)
  endif()
endforeach()

if(_broken)
  message(FATAL_ERROR "The translations are not complete.")
endif()
