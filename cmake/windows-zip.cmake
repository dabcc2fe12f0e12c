# The Windows zip (cpack -G ZIP in the cross-build): the program with its two books beside
# it (it looks there after its working directory), the licence, the copyright notice and
# a read-me, all in one folder. The text files get Windows line ends.
install(TARGETS tamblor RUNTIME DESTINATION .)
install(FILES book/tamblorwhite.doc book/tamblorblack.doc DESTINATION .)
foreach(text LICENSE:LICENSE docs/copyright:COPYRIGHT docs/windows-readme.txt:README)
  string(REPLACE ":" ";" text ${text})
  list(GET text 0 source)
  list(GET text 1 name)
  file(READ ${source} content)
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE ${CMAKE_BINARY_DIR}/zip/${name}.txt "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${CMAKE_BINARY_DIR}/zip/${name}.txt DESTINATION .)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tamblor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}k)
set(CPACK_PACKAGE_FILE_NAME tamblor-${PROJECT_VERSION}k-windows-x86_64)
include(CPack)
