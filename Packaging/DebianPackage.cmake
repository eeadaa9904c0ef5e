# The Debian package (make package): the install tree under /usr.
#
# Dependencies. The libraries the program links (Qt 6, QCoro, the C++
# runtime) are found by dpkg-shlibdeps from the binary itself. Listed by hand
# is what it loads or runs without linking:
#   qt6-qpa-plugins             the X11 (xcb) platform plugin
#   libqt6svg6                  the SVG icon and image plugins (every symbol is an SVG)
#   qt6-image-formats-plugins   TIFF and WebP thumbnails
#   perl                        runs the bundled ExifTool; its core modules
#                               (Encode, Compress::Zlib, Digest::MD5, ...) come
#                               with perl, not perl-base
#   shared-mime-info            the MIME database QMimeDatabase classifies files by
#   hicolor-icon-theme          the theme the icon is installed into
# The package does not depend on libimage-exiftool-perl: the program runs its
# own copy of ExifTool from its resource bundle (PERL5LIB points there first),
# the copy it was built and tested with, so a newer system ExifTool could not
# change its behaviour. Recommended, as Debian's ExifTool recommends it: the
# Archive::Zip module for zip-based formats; the Wayland platform plugin; and
# for the file managers' "Remove All Metadata": notify-send for the
# notification of the result, and zenity or kdialog to ask first (without
# either, the files open in the window, which asks itself); and the
# thumbnailers that give videos (ffmpegthumbnailer), HEIC and AVIF
# (heif-thumbnailer) and PDF (evince-thumbnailer, which Debian 12 ships in
# evince; atril's pulls in more, and tumbler's plugins are no .thumbnailer
# files) their pictures in the sidebar.

set(METALOOM_PACKAGE_MAINTAINER "Quillforge <metaloom@quillforge.app>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME metaloom)
set(CPACK_PACKAGE_VENDOR Quillforge)
set(CPACK_PACKAGE_VERSION "${METALOOM_VERSION_STRING}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "inspect, edit and strip the metadata of photos and videos")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Metaloom shows every tag a photo, video or audio file carries (EXIF, IPTC,\n"
  "XMP, GPS, maker notes and the rest) as one editable, searchable list and\n"
  "writes changes back into the file. It can remove all metadata from one or\n"
  "many files and apply presets of tag values. metaloom-cli does the same from\n"
  "scripts, and Dolphin and Nemo offer it on a right click.\n"
  "\n"
  "All metadata work is done by a bundled copy of ExifTool; a file is replaced\n"
  "only after ExifTool has written its new copy successfully.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${METALOOM_BUILD_NUMBER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${METALOOM_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${METALOOM_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, libqt6svg6, qt6-image-formats-plugins, perl, shared-mime-info, hicolor-icon-theme")
# The program's own translations are compiled into it; Qt's (its dialogs'
# buttons and messages) come from Debian's package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "libarchive-zip-perl, qt6-wayland, libnotify-bin, zenity | kdialog, qt6-translations-l10n, ffmpegthumbnailer, heif-thumbnailer, evince | atril")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
