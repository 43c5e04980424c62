# Every folder below ROOT that has a CMakeLists.txt is added, parents before children,
# so that a new module only needs its own list file. Folders named in
# LAPVISTA_EXCLUDED_FOLDERS (paths from the source root, e.g. src/platform/linux) are left
# out together with everything below them: the other platform's layer and what needs it.
function(add_subdirectories_with_lists root)
  file(GLOB_RECURSE lists RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${root}
       CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${root}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(list_file IN LISTS lists)
    get_filename_component(dir ${list_file} DIRECTORY)
    set(folder ${root}/${dir})
    set(excluded FALSE)
    foreach(skip IN LISTS LAPVISTA_EXCLUDED_FOLDERS)
      if(folder STREQUAL skip OR folder MATCHES "^${skip}/")
        set(excluded TRUE)
      endif()
    endforeach()
    if(NOT excluded)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()
