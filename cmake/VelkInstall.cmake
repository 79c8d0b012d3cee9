# Installation for a Linux desktop and the Debian package. The two programs
# install themselves (RUNTIME to bin); here the desktop entry, the icon, the
# version shown by --version and the About box, and CPack.

if(TARGET velkmod)
  target_compile_definitions(velkmod PRIVATE VELK_VERSION="${PROJECT_VERSION}")
  install(FILES "${PROJECT_SOURCE_DIR}/res/velkmod.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${PROJECT_SOURCE_DIR}/res/velkmod.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velkmod")
set(CPACK_PACKAGE_VENDOR "Marvelund")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VELK Modeler - workflow type modeler")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "velkmod")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marvelund VELK team <velk@marvelund.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Desktop modeler of workflow types.\nDraws workflows as graphs of tasks and routing arrows, checks them and stores\nthem in the workflow databases; includes the velkmod-cli command-line tool.")
set(_velk_deb_depends "libqt6core6 (>= 6.4)" "libsqlite3-0" "libstdc++6" "libgvc6")
if(VELK_BUILD_GUI)
  list(APPEND _velk_deb_depends "libqt6gui6 (>= 6.4)" "libqt6widgets6 (>= 6.4)"
       "libqt6printsupport6 (>= 6.4)" "libqt6svg6 (>= 6.4)" "qt6-qpa-plugins")
endif()
list(JOIN _velk_deb_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
