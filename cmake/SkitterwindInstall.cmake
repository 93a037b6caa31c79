# Installing Skitterwind, and its Debian package.
#
# `cmake --install build/release --prefix P` gives (the package: P = /usr)
#   P/bin/skitterwind                  the launcher (dist/launcher.sh.in): makes
#                                      the XDG data folder and starts the game
#                                      there, so the saved state lands in it
#   P/lib/skitterwind/skitterwind      the program, and beside it, where it
#   P/lib/skitterwind/data/            looks, its generated data
#   P/share/applications/skitterwind.desktop
#   P/share/metainfo/<id>.metainfo.xml AppStream metadata for software centres
#   P/share/icons/hicolor/<n>x<n>/apps/skitterwind.png   n = 48, 64, 128, 256
#   P/share/man/man6/skitterwind.6.gz
#   P/share/doc/skitterwind/copyright, changelog.gz
# The launcher finds the program by a relative path, so the tree can move.
#
# `make package` runs CPack's DEB generator on the same install (prefix
# /usr, binaries stripped) and writes skitterwind_<version>_amd64.deb into
# the build folder; dpkg-shlibdeps computes the dependencies.
#
# With each new project version, add an entry to dist/changelog (the package
# test checks that its newest entry has the project's version) and set
# SKITTERWIND_RELEASE_DATE, which the metadata and the manual page show.
include_guard(GLOBAL)

set(SKITTERWIND_APP_ID invalid.skitterwind.Skitterwind)
set(SKITTERWIND_RELEASE_DATE 2026-12-08)
set(SKITTERWIND_MAINTAINER "Skitterwind maintainers <maintainers@users.noreply.c-seed-f9bfdded.example>")
set(SKITTERWIND_SCREENSHOT_URL "https://skitterwind.invalid/screenshots" CACHE STRING
    "Web folder holding title.png, play.png and ending.png (docs/) for the AppStream metadata")

set(SKITTERWIND_BIN_DIR bin)
set(SKITTERWIND_LIB_DIR lib/skitterwind)
set(SKITTERWIND_SHARE_DIR share)
set(SKITTERWIND_DOC_DIR ${SKITTERWIND_SHARE_DIR}/doc/skitterwind)
# Named in the manual page: the package's places.
set(SKITTERWIND_PROGRAM_PATH /usr/${SKITTERWIND_LIB_DIR}/skitterwind)
set(SKITTERWIND_DATA_PATH /usr/${SKITTERWIND_LIB_DIR}/data/)

set(dist_src ${PROJECT_SOURCE_DIR}/dist)
set(dist_out ${CMAKE_BINARY_DIR}/dist)

# ---- Files made at configure and build time ----------------------------------
file(RELATIVE_PATH SKITTERWIND_LAUNCHER_TO_PROGRAM /${SKITTERWIND_BIN_DIR} /${SKITTERWIND_LIB_DIR}/skitterwind)
configure_file(${dist_src}/launcher.sh.in ${dist_out}/skitterwind @ONLY)
configure_file(${dist_src}/skitterwind.6.in ${dist_out}/skitterwind.6 @ONLY)
configure_file(${dist_src}/skitterwind.metainfo.xml.in ${dist_out}/${SKITTERWIND_APP_ID}.metainfo.xml @ONLY)

# gzip -n: no name or time stamp in the header, so the output is reproducible.
foreach(pair "${dist_out}/skitterwind.6;skitterwind.6.gz" "${dist_src}/changelog;changelog.gz")
  list(GET pair 0 input)
  list(GET pair 1 output)
  add_custom_command(OUTPUT ${dist_out}/${output}
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" gzip ${input} ${dist_out}/${output}
    DEPENDS ${input}
    VERBATIM)
  list(APPEND dist_gz ${dist_out}/${output})
endforeach()
add_custom_target(dist_files ALL DEPENDS ${dist_gz})

# ---- Install rules -----------------------------------------------------------
# Run at the end of the top folder (see the DEFER below): the program's
# target must exist by then.
function(skitterwind_install_rules)
  install(TARGETS skitterwind RUNTIME DESTINATION ${SKITTERWIND_LIB_DIR})
  install(DIRECTORY ${TOLVAR_DATA_DIR}/ DESTINATION ${SKITTERWIND_LIB_DIR}/data
          PATTERN "skitterwind-icon*.png" EXCLUDE)

  # Earlier installs put a link to the program where the launcher goes;
  # installing over that link would write the script into the program.
  install(CODE "
    set(launcher \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${SKITTERWIND_BIN_DIR}/skitterwind\")
    if(IS_SYMLINK \"\${launcher}\")
      file(REMOVE \"\${launcher}\")
    endif()")
  install(PROGRAMS ${dist_out}/skitterwind DESTINATION ${SKITTERWIND_BIN_DIR})

  install(FILES ${dist_src}/skitterwind.desktop DESTINATION ${SKITTERWIND_SHARE_DIR}/applications)
  install(FILES ${dist_out}/${SKITTERWIND_APP_ID}.metainfo.xml DESTINATION ${SKITTERWIND_SHARE_DIR}/metainfo)
  foreach(size 48 64 128 256)
    set(icon skitterwind-icon-${size}.png)
    if(size EQUAL 256)
      set(icon skitterwind-icon.png)
    endif()
    install(FILES ${TOLVAR_DATA_DIR}/${icon}
            DESTINATION ${SKITTERWIND_SHARE_DIR}/icons/hicolor/${size}x${size}/apps RENAME skitterwind.png)
  endforeach()
  install(FILES ${dist_out}/skitterwind.6.gz DESTINATION ${SKITTERWIND_SHARE_DIR}/man/man6)
  install(FILES ${dist_src}/copyright ${dist_out}/changelog.gz DESTINATION ${SKITTERWIND_DOC_DIR})
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL skitterwind_install_rules)

# ---- The Debian package ------------------------------------------------------
# CPack (and `make install` in the build folder) would first build every
# target, tests and benchmarks included; `make package` builds what is
# installed itself.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skitterwind)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${SKITTERWIND_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: lead a swarm of bugs across spinning planets")
set(CPACK_PACKAGE_DESCRIPTION
    "Skitterwind is a fast 2D arcade game. You steer a bug that leads a swarm of
followers across a chain of spinning planets, collect the pickup on every
planet on the way and bring the swarm home before the countdown ends.
Levels are generated from their number, so level N is always the same; good
results unlock the following levels.
.
The game plays with the keyboard, the mouse or a joypad, in a window or full
screen, and keeps its settings and the ten best and last results of every
level in the XDG data folder.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)  # dpkg's own default; the WAV files shrink most
# Directories of the package are rwxr-xr-x whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
