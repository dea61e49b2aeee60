# The release packages, made with `cmake --build --preset win32 --target package`
# (and win64): Pellory-<version>-win32.zip; from the linux preset: the Debian
# package of ferrule and pellory-cli. Each package takes exactly the files of
# its own components, nothing else the build could install.

set(CPACK_PACKAGE_NAME Pellory)
set(CPACK_PACKAGE_VENDOR Vell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DNF patch cleaner and SPK update unpacker")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(package_platform win32)
  else()
    set(package_platform win64)
  endif()

  # The read-me is kept as UTF-8 text and handed to users in GBK with CR LF,
  # as Notepad on a Chinese Windows opens it.
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(readme_utf8 ${CMAKE_BINARY_DIR}/package/readme.utf8.txt)
  set(readme_gbk ${CMAKE_BINARY_DIR}/package/读我.txt)
  configure_file(${PROJECT_SOURCE_DIR}/examples/读我.txt.in ${readme_utf8} @ONLY)
  add_custom_command(OUTPUT ${readme_gbk}
    COMMAND Python3::Interpreter -c
            "import sys; t = open(sys.argv[1], encoding='utf-8').read(); open(sys.argv[2], 'wb').write(t.replace('\\n', '\\r\\n').encode('gbk'))"
            ${readme_utf8} ${readme_gbk}
    DEPENDS ${readme_utf8}
    COMMENT "Writing the read-me in GBK"
    VERBATIM)
  add_custom_target(package-readme ALL DEPENDS ${readme_gbk})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package/lst_file)

  install(TARGETS pellory ferrule RUNTIME DESTINATION . COMPONENT programs)
  install(FILES ${DNF_SEALED_CONFIG} ${PROJECT_SOURCE_DIR}/examples/Skip_Npk.ini ${readme_gbk}
          DESTINATION . COMPONENT side_files)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/package/lst_file DESTINATION . COMPONENT side_files)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Pellory-${PROJECT_VERSION}-${package_platform})
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL programs side_files)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  # ferrule and pellory-cli in /usr/bin. Their side files go to a private
  # folder below the system's temporary folder, so nothing else is installed.
  install(TARGETS ferrule pellory-cli RUNTIME DESTINATION bin COMPONENT programs)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL programs)
  set(CPACK_DEBIAN_PACKAGE_NAME pellory)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vell")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "ferrule unpacks SPK update files of the game DNF with 7-Zip and verifies them;\n pellory-cli scans and cleans the game's ImagePacks2 and SoundPacks folders.")
  # ferrule runs the system's 7zz; the libraries the programs link are
  # found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS 7zip)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
