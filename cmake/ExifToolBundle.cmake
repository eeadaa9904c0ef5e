# Assembles the resource bundle that carries ExifTool next to the executables:
#   <bin>/MetaloomFeature_MetaloomFeature.bundle/ExifTool/exiftool
#   <bin>/MetaloomFeature_MetaloomFeature.bundle/ExifTool/lib/perl5/{Image,File/RandomAccess.pm}
# The copy comes from Debian's libimage-exiftool-perl, so nothing is downloaded.

set(METALOOM_BUNDLE_NAME "MetaloomFeature_MetaloomFeature.bundle")
set(METALOOM_EXIFTOOL_SCRIPT "/usr/bin/exiftool" CACHE FILEPATH "ExifTool script copied into the bundle")
set(METALOOM_PERL_LIB_ROOT "/usr/share/perl5" CACHE PATH "Perl library tree holding Image::ExifTool")

find_program(METALOOM_PERL perl REQUIRED)
execute_process(
  COMMAND "${METALOOM_PERL}" -MConfig -e "print \$Config{archname}"
  OUTPUT_VARIABLE METALOOM_PERL_ARCHNAME
  OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Perl architecture directory name: ${METALOOM_PERL_ARCHNAME}")

if(NOT EXISTS "${METALOOM_EXIFTOOL_SCRIPT}" OR NOT EXISTS "${METALOOM_PERL_LIB_ROOT}/Image/ExifTool.pm")
  message(FATAL_ERROR "ExifTool was not found; run scripts/install-deps (package libimage-exiftool-perl)")
endif()

set(METALOOM_BUNDLE_DIR "${CMAKE_BINARY_DIR}/bin/${METALOOM_BUNDLE_NAME}")
set(_exiftool_dir "${METALOOM_BUNDLE_DIR}/ExifTool")
set(_bundle_stamp "${CMAKE_BINARY_DIR}/exiftool-bundle.stamp")

add_custom_command(
  OUTPUT "${_bundle_stamp}"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${_exiftool_dir}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${_exiftool_dir}/lib/perl5/File"
  COMMAND "${CMAKE_COMMAND}" -E copy "${METALOOM_EXIFTOOL_SCRIPT}" "${_exiftool_dir}/exiftool"
  COMMAND chmod 0755 "${_exiftool_dir}/exiftool"
  COMMAND "${CMAKE_COMMAND}" -E copy_directory "${METALOOM_PERL_LIB_ROOT}/Image" "${_exiftool_dir}/lib/perl5/Image"
  COMMAND "${CMAKE_COMMAND}" -E copy "${METALOOM_PERL_LIB_ROOT}/File/RandomAccess.pm" "${_exiftool_dir}/lib/perl5/File/RandomAccess.pm"
  COMMAND "${CMAKE_COMMAND}" -E touch "${_bundle_stamp}"
  DEPENDS "${METALOOM_EXIFTOOL_SCRIPT}" "${METALOOM_PERL_LIB_ROOT}/Image/ExifTool.pm"
  COMMENT "Assembling the ExifTool resource bundle"
  VERBATIM)
add_custom_target(exiftool_bundle ALL DEPENDS "${_bundle_stamp}")

install(DIRECTORY "${METALOOM_BUNDLE_DIR}" DESTINATION share/metaloom USE_SOURCE_PERMISSIONS)
