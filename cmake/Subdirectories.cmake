# Every folder below ROOT that has a CMakeLists.txt is added, parents before children,
# so that a new module only needs its own list file.
function(add_subdirectories_with_lists root)
  file(GLOB_RECURSE lists RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${root}
       CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${root}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(list_file IN LISTS lists)
    get_filename_component(dir ${list_file} DIRECTORY)
    add_subdirectory(${root}/${dir})
  endforeach()
endfunction()
