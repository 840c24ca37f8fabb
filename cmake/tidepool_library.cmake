# A library of Tidepool's own. Every header is included by its path from the top of the tree
# ("render/draw_job.h"), in the library itself and in whatever links it, so each one carries the
# top folder as a public include folder. Warnings and the sanitizers are set for every target at
# the top, not here.
#
#   tidepool_library(<name> [OBJECT] [AUTOMOC] SOURCES <file>...
#                    [PUBLIC <library>...] [PRIVATE <library>...])
#
# OBJECT makes an object library instead of a static one; AUTOMOC runs Qt's moc over its sources.
function(tidepool_library name)
    cmake_parse_arguments(ARG "OBJECT;AUTOMOC" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "tidepool_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(ARG_OBJECT)
        add_library(${name} OBJECT ${ARG_SOURCES})
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(ARG_AUTOMOC)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
    if(ARG_PUBLIC)
        target_link_libraries(${name} PUBLIC ${ARG_PUBLIC})
    endif()
    if(ARG_PRIVATE)
        target_link_libraries(${name} PRIVATE ${ARG_PRIVATE})
    endif()
endfunction()
