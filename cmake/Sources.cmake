# Source lists are globbed per folder so that a new file needs no edit here; tests and
# platform folders are kept apart by name.
function(quillet_sources out)
    set(result)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        list(FILTER found EXCLUDE REGEX "_test\\.cpp$")
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# A static library of the given sources.
function(quillet_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE quillet_warnings)
endfunction()
