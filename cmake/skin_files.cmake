# The 33 skins that skin/make_skins.py draws up at build time, skin_01.skn
# to skin_33.skn in the build's skin folder, and the resource lines that
# carry them in a program, numbered 1 to 33 as the skin library asks for them.
set(DNF_SKIN_FILES "")
set(DNF_SKIN_RESOURCES "")
foreach(number RANGE 1 33)
  set(file "${number}")
  if(number LESS 10)
    set(file "0${number}")
  endif()
  set(skin ${CMAKE_BINARY_DIR}/skin/skin_${file}.skn)
  list(APPEND DNF_SKIN_FILES ${skin})
  string(APPEND DNF_SKIN_RESOURCES "${number} RCDATA \"${skin}\"\n")
endforeach()
