# The distributable: Quillet-<version>-win32.zip with both programs and the help page, made by
# `cmake --build --preset mingw --target package` (or tools/package).
if(NOT WIN32 OR NOT TARGET Quillet OR NOT TARGET Install)
    return()
endif()

install(TARGETS Quillet Install RUNTIME DESTINATION .)
set(quillet_help_page ${CMAKE_SOURCE_DIR}/editor/help/Справка.htm)
set(quillet_has_help OFF)
if(EXISTS ${quillet_help_page})
    install(FILES ${quillet_help_page} DESTINATION .)
    set(quillet_has_help ON)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quillet)
set(CPACK_PACKAGE_VENDOR Quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Quillet-${PROJECT_VERSION}-win32)
# One folder inside the archive, so unpacking never scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The package is made and its contents checked with the other tests.
add_test(NAME package_contents
         COMMAND ${CMAKE_COMMAND} -DBINARY_DIR=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION}
                 -DHELP_PAGE=${quillet_has_help} -P ${CMAKE_SOURCE_DIR}/cmake/CheckPackage.cmake)
set_tests_properties(package_contents PROPERTIES LABELS package TIMEOUT 300)
