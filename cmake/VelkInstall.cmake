# Installation for a Linux desktop and the Debian package. The two programs
# install themselves (RUNTIME to bin); here the desktop entry, the icons, the
# version shown by --version and the About box, and CPack. With VELK_PACKAGE
# (tools/package.sh) also the man pages, made from the programs' own --help, the
# AppStream metadata and the files Debian asks of every package.

option(VELK_PACKAGE "Build the man pages and metadata of the Debian package" OFF)

set(VELK_APP_ID "example.marvelund.velkmod")
set(VELK_RELEASE_DATE "2026-12-20")

if(TARGET velkmod)
  target_compile_definitions(velkmod PRIVATE VELK_VERSION="${PROJECT_VERSION}")
  install(FILES "${PROJECT_SOURCE_DIR}/res/velkmod.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${PROJECT_SOURCE_DIR}/res/velkmod.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

if(VELK_PACKAGE)
  find_program(VELK_HELP2MAN help2man REQUIRED)
  find_program(VELK_RSVG rsvg-convert REQUIRED)
  find_program(VELK_GZIP gzip REQUIRED)
  set(pkg "${PROJECT_BINARY_DIR}/package")
  set(generated)
  # One source for --help and the man page: help2man reads the program's own.
  # The version is given so that the page is named after the program, not after
  # the title the modeler's --version shows.
  set(velk_man_velkmod "desktop modeler of workflow types")
  set(velk_man_velkmod-cli "administer workflow databases, check, draw and publish workflows")
  foreach(program velkmod velkmod-cli)
    if(NOT TARGET ${program})
      continue()
    endif()
    add_custom_command(
      OUTPUT "${pkg}/${program}.1.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${pkg}"
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${VELK_HELP2MAN} --no-info --no-discard-stderr "--name=${velk_man_${program}}"
              "--version-string=${PROJECT_VERSION}"
              "--output=${pkg}/${program}.1" "$<TARGET_FILE:${program}>"
      COMMAND ${VELK_GZIP} -9nf "${pkg}/${program}.1"
      DEPENDS ${program}
      COMMENT "Writing the man page of ${program}")
    list(APPEND generated "${pkg}/${program}.1.gz")
    install(FILES "${pkg}/${program}.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
  endforeach()
  if(TARGET velkmod)
    foreach(size 16 22 24 32 48 64 128 256)
      add_custom_command(
        OUTPUT "${pkg}/icons/${size}/velkmod.png"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${pkg}/icons/${size}"
        COMMAND ${VELK_RSVG} -w ${size} -h ${size} -o "${pkg}/icons/${size}/velkmod.png"
                "${PROJECT_SOURCE_DIR}/res/velkmod.svg"
        DEPENDS "${PROJECT_SOURCE_DIR}/res/velkmod.svg")
      list(APPEND generated "${pkg}/icons/${size}/velkmod.png")
      install(FILES "${pkg}/icons/${size}/velkmod.png"
              DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
    endforeach()
    configure_file("${PROJECT_SOURCE_DIR}/res/package/velkmod.metainfo.xml.in"
                   "${pkg}/${VELK_APP_ID}.metainfo.xml" @ONLY)
    install(FILES "${pkg}/${VELK_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  endif()
  configure_file("${PROJECT_SOURCE_DIR}/res/package/changelog.in" "${pkg}/changelog" @ONLY)
  add_custom_command(
    OUTPUT "${pkg}/changelog.gz"
    COMMAND ${VELK_GZIP} -9nfk "${pkg}/changelog"
    DEPENDS "${pkg}/changelog")
  list(APPEND generated "${pkg}/changelog.gz")
  add_custom_target(velk_package_files ALL DEPENDS ${generated})
  install(FILES "${pkg}/changelog.gz" "${PROJECT_SOURCE_DIR}/res/package/copyright"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/velkmod")
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velkmod")
set(CPACK_PACKAGE_VENDOR "Marvelund")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workflow type modeler")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "velkmod")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marvelund VELK team <velk@marvelund.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Draws workflows as graphs of tasks and routing arrows, checks them and\nstores them in the workflow databases. Includes velkmod-cli, which\nadministers the databases, checks, draws and publishes workflows as a\nstatic web site.")
# The libraries linked come from dpkg-shlibdeps; Qt's platform plugins and the
# drawing font are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
