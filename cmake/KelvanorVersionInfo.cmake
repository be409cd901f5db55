# kelvanor_add_version_info(<target> "<description>")
#   Gives a Windows binary its version resource: file and product version from project(VERSION),
#   the product name, the description, and the file name the target is built as.
function(kelvanor_add_version_info target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(VI_FILETYPE VFT_APP)
  else()
    set(VI_FILETYPE VFT_DLL)
  endif()
  set(VI_DESCRIPTION "${description}")
  set(VI_FILENAME "$<TARGET_FILE_NAME:${target}>")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc.in @ONLY)
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc
       INPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc.in)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
endfunction()
