# Run by `cmake --install` (and by CPack, which installs the same way): the
# file-manager actions name the installed programs by their full paths,
# which are known only now, under the prefix of this install.
#
# Set by the caller: METALOOM_APP_ID, METALOOM_MIME_TYPES (";"-separated,
# ending with ";") and METALOOM_FILE_ACTIONS_SOURCE (this folder).

set(_prefix "${CMAKE_INSTALL_PREFIX}")
set(_root "$ENV{DESTDIR}${_prefix}")
set(METALOOM_CLI_PATH "${_prefix}/bin/metaloom-cli")
set(METALOOM_WINDOW_PATH "${_prefix}/bin/metaloom")
set(METALOOM_FILE_ACTION_PATH "${_prefix}/libexec/metaloom/metaloom-file-action")

# A program in an Exec line, quoted as desktop entries want: in double
# quotes with ", `, $ and \ escaped by a backslash, % doubled; and the
# backslashes escaped once more for the key file itself.
function(_metaloom_exec_quoted variable path)
  string(REPLACE "\\" "\\\\" quoted "${path}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  set(${variable} "\"${quoted}\"" PARENT_SCOPE)
endfunction()
_metaloom_exec_quoted(METALOOM_WINDOW_EXEC "${METALOOM_WINDOW_PATH}")
_metaloom_exec_quoted(METALOOM_FILE_ACTION_EXEC "${METALOOM_FILE_ACTION_PATH}")

function(_metaloom_install_configured template destination)
  cmake_parse_arguments(ARG "EXECUTABLE" "" "" ${ARGN})
  set(permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  if(ARG_EXECUTABLE)
    list(APPEND permissions OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
  endif()
  message(STATUS "Installing: ${_root}/${destination}")
  configure_file("${METALOOM_FILE_ACTIONS_SOURCE}/${template}" "${_root}/${destination}" @ONLY
                 FILE_PERMISSIONS ${permissions})
  # Listed in install_manifest.txt with what install() copied.
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_root}/${destination}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

# The script's paths go in single quotes.
foreach(_name METALOOM_CLI_PATH METALOOM_WINDOW_PATH)
  set(_${_name} "${${_name}}")
  string(REPLACE "'" "'\\''" ${_name} "${${_name}}")
endforeach()
_metaloom_install_configured(metaloom-file-action.in "libexec/metaloom/metaloom-file-action"
                             EXECUTABLE)
foreach(_name METALOOM_CLI_PATH METALOOM_WINDOW_PATH)
  set(${_name} "${_${_name}}")
endforeach()

# Dolphin runs a service menu outside the system's folders only when it is
# executable (a file saved from the web must not add menu entries).
set(_menu_options)
set(_home "$ENV{HOME}/")
string(LENGTH "${_home}" _home_length)
string(SUBSTRING "${_prefix}/" 0 ${_home_length} _prefix_start)
if(NOT _home STREQUAL "/" AND _prefix_start STREQUAL _home)
  set(_menu_options EXECUTABLE)
endif()
_metaloom_install_configured(servicemenu.desktop.in
                             "share/kio/servicemenus/${METALOOM_APP_ID}.desktop" ${_menu_options})
foreach(_action open strip strip-location strip-personal export)
  _metaloom_install_configured(${_action}.nemo_action.in
                               "share/nemo/actions/metaloom-${_action}.nemo_action")
endforeach()
