# CLI11 is header-only, but Debian's package points its target at /usr/include, whose C
# library headers would shadow MinGW's. A cross build gets a CLI11 package of its own whose
# include folder holds nothing but the CLI headers.
set(cli11_root ${PROJECT_BINARY_DIR}/cli11)
file(MAKE_DIRECTORY ${cli11_root}/include)
file(CREATE_LINK /usr/include/CLI ${cli11_root}/include/CLI SYMBOLIC)
file(WRITE ${cli11_root}/CLI11Config.cmake
     "if(NOT TARGET CLI11::CLI11)\n"
     "  add_library(CLI11::CLI11 INTERFACE IMPORTED)\n"
     "  set_target_properties(CLI11::CLI11 PROPERTIES\n"
     "    INTERFACE_INCLUDE_DIRECTORIES ${cli11_root}/include)\n"
     "endif()\n")
set(CLI11_DIR ${cli11_root} CACHE PATH "CLI11 headers for the cross build" FORCE)
