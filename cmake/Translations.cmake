# The program's translations: translations/metaloom_<language>.ts, with the
# English texts of the sources as their source texts. lrelease compiles them
# into .qm files that go into a Qt resource (:/i18n) of the target given, so
# the build tree, the installed program and the tests find them alike.
#
# lupdate never runs in the default build, so building or testing a checkout
# leaves the committed .ts files as they are: `cmake --build build --target
# update_translations` brings them up to date with the sources.

find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

# Every folder whose sources hold texts shown to the user.
set(METALOOM_TRANSLATED_FOLDERS App Cli MetaloomFeature StyleKit VossaApps)
file(GLOB METALOOM_TS_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/translations/*.ts")

function(metaloom_translated_sources out_var)
  set(_sources)
  foreach(_folder IN LISTS METALOOM_TRANSLATED_FOLDERS)
    file(GLOB_RECURSE _found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${_folder}/*.cpp"
         "${PROJECT_SOURCE_DIR}/${_folder}/*.h")
    list(APPEND _sources ${_found})
  endforeach()
  set(${out_var} ${_sources} PARENT_SCOPE)
endfunction()

# Options both the update target and the check of the committed files use:
# no line numbers (a moved line changes no .ts) and no entries of texts gone.
set(METALOOM_LUPDATE_OPTIONS -locations none -no-obsolete -no-ui-lines)

function(metaloom_add_translations target)
  metaloom_translated_sources(_sources)
  qt_add_translations(${target}
    TS_FILES ${METALOOM_TS_FILES}
    SOURCES ${_sources}
    INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}"
    LUPDATE_OPTIONS ${METALOOM_LUPDATE_OPTIONS}
    RESOURCE_PREFIX "/i18n")
endfunction()
