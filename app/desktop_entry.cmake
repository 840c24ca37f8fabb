# Run by `cmake --install` (and by CPack): writes the menu entry. The prefix is only final at
# install time (`--prefix` overrides the configured one), and CMAKE_INSTALL_PREFIX here is that
# final prefix, without any DESTDIR staging folder. Installed to /usr/bin, where every PATH looks,
# Exec names the program alone, as the desktop's own packages do; anywhere else it is the installed
# program's full path.
#
# Expects TIDEPOOL_DESKTOP_TEMPLATE, TIDEPOOL_DESKTOP_OUTPUT and TIDEPOOL_BINDIR (relative to the
# prefix, or absolute).

if(IS_ABSOLUTE "${TIDEPOOL_BINDIR}")
    set(program "${TIDEPOOL_BINDIR}/tidepool")
else()
    set(program "${CMAKE_INSTALL_PREFIX}/${TIDEPOOL_BINDIR}/tidepool")
endif()

if(program STREQUAL "/usr/bin/tidepool")
    set(exec "tidepool")
else()
    # Exec is parsed in layers: the value's own string escapes, then field codes, then shell-like
    # quoting. Quoting the path always keeps a prefix with spaces or other reserved characters
    # working; each layer's escapes are applied innermost first.
    set(exec "${program}")
    string(REPLACE [[\]] [[\\]] exec "${exec}")
    string(REPLACE [["]] [[\"]] exec "${exec}")
    string(REPLACE [[`]] [[\`]] exec "${exec}")
    string(REPLACE [[$]] [[\$]] exec "${exec}")
    set(exec "\"${exec}\"")
    string(REPLACE [[%]] [[%%]] exec "${exec}")
    string(REPLACE [[\]] [[\\]] exec "${exec}")
endif()

set(TIDEPOOL_DESKTOP_EXEC "${exec}")
configure_file("${TIDEPOOL_DESKTOP_TEMPLATE}" "${TIDEPOOL_DESKTOP_OUTPUT}" @ONLY)
