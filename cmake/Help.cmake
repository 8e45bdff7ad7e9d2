# The help pages: the user's guide as written and the function guide that
# helpgen writes from the function table. They are put in help/ beside the
# program in the build, and installed in share/quorvin/help, where the Help
# menu looks for them.
set(HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/resources/help)
set(HELP_BUILD_DIR ${CMAKE_BINARY_DIR}/help)
set(HELP_PAGES ${HELP_BUILD_DIR}/user_guide.html ${HELP_BUILD_DIR}/help.css ${HELP_BUILD_DIR}/function_guide.html)
add_custom_command(
  OUTPUT ${HELP_PAGES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${HELP_BUILD_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${HELP_SOURCE_DIR}/user_guide.html ${HELP_SOURCE_DIR}/help.css ${HELP_BUILD_DIR}
  COMMAND helpgen ${HELP_SOURCE_DIR}/functions.txt ${HELP_BUILD_DIR}/function_guide.html
  DEPENDS helpgen ${HELP_SOURCE_DIR}/functions.txt ${HELP_SOURCE_DIR}/user_guide.html ${HELP_SOURCE_DIR}/help.css
  COMMENT "Writing the help pages"
  VERBATIM)
add_custom_target(help_pages ALL DEPENDS ${HELP_PAGES})
add_dependencies(quorvin help_pages)

include(GNUInstallDirs)
install(TARGETS quorvin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${HELP_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvin/help)
