# Which folder may include which. Every folder's headers sit under the one
# include root (the project's folder), so the compiler cannot keep a header
# meant for one folder out of another; this check does, reading the
# "#include" lines of every source and header.
#
#   cmake -DSOURCE_DIR=<project folder> -P tests/IncludeRules.cmake
#
# A rule names the folders it covers, the folders inside those it leaves out,
# and a pattern that no include of theirs may match. ALLOW lists includes that
# stand today and are to go ("<file>|<included path>"); an allowed include
# that is gone makes the check fail too, so the list only ever shrinks.

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "Pass -DSOURCE_DIR=<the project's folder>.")
endif()

set(_broken 0)

function(include_rule name)
  cmake_parse_arguments(ARG "" "NEVER;BECAUSE" "IN;EXCEPT;ALLOW" ${ARGN})
  set(_files)
  foreach(_dir IN LISTS ARG_IN)
    if(EXISTS "${SOURCE_DIR}/${_dir}")
      file(GLOB_RECURSE _found RELATIVE "${SOURCE_DIR}"
           "${SOURCE_DIR}/${_dir}/*.h" "${SOURCE_DIR}/${_dir}/*.cpp")
      list(APPEND _files ${_found})
    endif()
  endforeach()
  set(_unused ${ARG_ALLOW})
  foreach(_file IN LISTS _files)
    set(_skip FALSE)
    foreach(_except IN LISTS ARG_EXCEPT)
      string(FIND "${_file}" "${_except}/" _at)
      if(_at EQUAL 0)
        set(_skip TRUE)
      endif()
    endforeach()
    if(_skip)
      continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${_file}" _lines REGEX "^#include[ \t]")
    foreach(_line IN LISTS _lines)
      string(REGEX REPLACE "^#include[ \t]+[\"<]([^\">]+)[\">].*$" "\\1" _included "${_line}")
      if(NOT _included MATCHES "${ARG_NEVER}")
        continue()
      endif()
      list(FIND ARG_ALLOW "${_file}|${_included}" _allowed)
      if(_allowed GREATER -1)
        list(REMOVE_ITEM _unused "${_file}|${_included}")
        continue()
      endif()
      message(SEND_ERROR "${name}: ${_file} includes ${_included} (${ARG_BECAUSE})")
      set(_broken 1 PARENT_SCOPE)
    endforeach()
  endforeach()
  foreach(_gone IN LISTS _unused)
    message(SEND_ERROR "${name}: the allowed include ${_gone} is gone; strike it from the list")
    set(_broken 1 PARENT_SCOPE)
  endforeach()
endfunction()

# The engine's parts are its own: outside it, only the root headers (the
# service and the records it returns) are used. Its own tests and the
# benchmarks look inside.
include_rule("engine parts"
  IN MetaloomFeature App Cli VossaApps StyleKit tests bench
  EXCEPT MetaloomFeature/Engine tests/Engine bench
  NEVER "^MetaloomFeature/Engine/(Process|FileSafety|Dialect)/"
  BECAUSE "outside the engine only its root headers are used")

include_rule("dialect"
  IN MetaloomFeature/Engine/Dialect
  NEVER "^(MetaloomFeature/Engine/(Process|FileSafety)/|MetaloomFeature/Engine/ExifToolService\\.h|QProcess)"
  BECAUSE "ExifTool's dialect is pure knowledge: it runs no process and keeps no file safe")

include_rule("file safety"
  IN MetaloomFeature/Engine/FileSafety
  NEVER "^MetaloomFeature/(Engine/(Process|Dialect)/|Engine/[^/]+$|Model/|Library/|Updates/|Views/)"
  BECAUSE "file safety stands on the platform alone")

include_rule("processes"
  IN MetaloomFeature/Engine/Process
  NEVER "^MetaloomFeature/Engine/(ExifToolService|GuardedChange|StripAll|StripReport|TagListingCache|WritableFormats|ReadBack|EmbeddedPreview)\\.h"
  BECAUSE "the processes know nothing of the operations that run them")

include_rule("engine"
  IN MetaloomFeature/Engine
  NEVER "^(MetaloomFeature/(Library|Updates|Views)|App|Cli|VossaApps|StyleKit)/"
  BECAUSE "the engine knows no library, update check or window")

include_rule("model and platform"
  IN MetaloomFeature/Model MetaloomFeature/Platform
  NEVER "^(MetaloomFeature/(Engine|Library|Updates|Views)|App|Cli|VossaApps|StyleKit)/"
  BECAUSE "records and platform stand-ins come first")

include_rule("platform"
  IN MetaloomFeature/Platform
  NEVER "^MetaloomFeature/Model/"
  BECAUSE "the platform stand-ins are the ground floor")

include_rule("library"
  IN MetaloomFeature/Library
  NEVER "^(MetaloomFeature/(Updates|Views)|App|Cli|VossaApps|StyleKit)/"
  BECAUSE "the library holds the window's state and draws nothing")

include_rule("updates"
  IN MetaloomFeature/Updates
  NEVER "^(MetaloomFeature/(Model|Engine|Library|Views)|App|Cli|VossaApps|StyleKit)/"
  BECAUSE "the update check needs only the platform; the application shows its outcome")

# The views reach the engine only through the library.
include_rule("views"
  IN MetaloomFeature/Views
  NEVER "^(MetaloomFeature/Engine/|App/|Cli/)"
  BECAUSE "the views hold widgets only; the library reaches the engine")

include_rule("views and the catalog"
  IN MetaloomFeature/Views
  NEVER "^VossaApps/(CatalogStyle|SymbolIcons|AccentColor)\\.h"
  BECAUSE "shared style comes from the style kit, not from the catalog")

include_rule("apps catalog"
  IN VossaApps
  NEVER "^(MetaloomFeature|App|Cli)/"
  BECAUSE "the catalog is shared by the maker's applications: Qt and the style kit only")

include_rule("style kit"
  IN StyleKit
  NEVER "^(MetaloomFeature|App|Cli|VossaApps)/"
  BECAUSE "the kit is Qt Gui and nothing of ours")

if(_broken)
  message(FATAL_ERROR "Some includes break the layout's rules (see above).")
endif()
message(STATUS "Every include keeps the layout's rules.")
