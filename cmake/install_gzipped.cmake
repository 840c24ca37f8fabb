# Installs a text file gzip-compressed, as Debian wants manual pages and changelogs. -n leaves the
# name and time stamp out, so the same text always gives the same bytes.
function(tidepool_install_gzipped source destination)
    get_filename_component(name "${source}" NAME)
    set(copy "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}")
    add_custom_command(OUTPUT "${copy}.gz"
                       COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${copy}"
                       COMMAND gzip -9nf "${copy}"
                       DEPENDS "${source}"
                       VERBATIM)
    string(MAKE_C_IDENTIFIER "gzip_${name}" target)
    add_custom_target(${target} ALL DEPENDS "${copy}.gz")
    install(FILES "${copy}.gz" DESTINATION "${destination}")
endfunction()
