# A Windows version resource for a program of the project, filled with the
# project's version, its file name and a description.
#   dnf_add_version_resource(TARGET FILE_NAME "DESCRIPTION")
set(DNF_VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/program_version.rc.in)

function(dnf_add_version_resource target file_name description)
  if(NOT WIN32)
    return()
  endif()
  enable_language(RC)
  set(PROGRAM_FILE_NAME ${file_name})
  get_filename_component(PROGRAM_INTERNAL_NAME ${file_name} NAME_WE)
  set(PROGRAM_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${DNF_VERSION_RC_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
