# The committed translations hold an entry for every text the sources give
# to Qt's translation system, and none for a text they no longer hold:
# lupdate, run on a copy of each, adds nothing unfinished and finds nothing
# vanished. A new tr() without its translation fails here.
#
#   cmake -DSOURCE_DIR=<project folder> -DLUPDATE=<lupdate> -DWORK_DIR=<folder>
#         -DFOLDERS=<folders with texts, ;-separated> -P tests/Translations/TranslationsInSync.cmake

foreach(_needed SOURCE_DIR LUPDATE WORK_DIR FOLDERS)
  if(NOT ${_needed})
    message(FATAL_ERROR "Pass -D${_needed}=...")
  endif()
endforeach()

string(REPLACE "," ";" FOLDERS "${FOLDERS}")
set(_sources)
foreach(_folder IN LISTS FOLDERS)
  file(GLOB_RECURSE _found "${SOURCE_DIR}/${_folder}/*.cpp" "${SOURCE_DIR}/${_folder}/*.h")
  list(APPEND _sources ${_found})
endforeach()
file(MAKE_DIRECTORY "${WORK_DIR}")
list(JOIN _sources "\n" _listed)
file(WRITE "${WORK_DIR}/sources.lst" "-I${SOURCE_DIR}\n${_listed}\n")

file(GLOB _ts_files "${SOURCE_DIR}/translations/*.ts")
set(_broken 0)
foreach(_ts IN LISTS _ts_files)
  get_filename_component(_name "${_ts}" NAME)
  set(_copy "${WORK_DIR}/${_name}")
  file(COPY_FILE "${_ts}" "${_copy}")
  # Without -no-obsolete, so that an entry the sources lost shows as vanished.
  execute_process(COMMAND "${LUPDATE}" -locations none -no-ui-lines "@${WORK_DIR}/sources.lst"
                          -ts "${_copy}"
                  OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(SEND_ERROR "${_name}: lupdate failed:\n${_out}${_err}")
    set(_broken 1)
    continue()
  endif()
  message(STATUS "${_name}: ${_out}")
  file(READ "${_copy}" _text)
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"unfinished\"" _new "${_text}")
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"(vanished|obsolete)\"" _gone "${_text}")
  foreach(_entry IN LISTS _new)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*$" "\\1" _entry "${_entry}")
    message(SEND_ERROR "${_name}: no translation of “${_entry}”; run the update_translations target and translate it")
    set(_broken 1)
  endforeach()
  foreach(_entry IN LISTS _gone)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*$" "\\1" _entry "${_entry}")
    message(SEND_ERROR "${_name}: “${_entry}” is no longer in the sources; run the update_translations target")
    set(_broken 1)
  endforeach()
  # lupdate also names the texts it could not place in a context.
  if("${_out}${_err}" MATCHES "lacks Q_OBJECT|Qualifying with unknown namespace/class")
    message(SEND_ERROR "${_name}: lupdate cannot tell the context of some texts:\n${_out}${_err}")
    set(_broken 1)
  endif()
endforeach()

if(_broken)
  message(FATAL_ERROR "The translations are not in step with the sources.")
endif()
