# Installs the build into a fresh prefix and checks what a desktop needs is there: both programs
# in bin, the plug-in in its private folder PLUGINDIR, the English translation, the icons and the
# menu entry naming the installed program. Then runs the installed renderer from another folder to write a PNG, which
# only works when it finds the plug-in there.
#
# Expects BUILD_DIR, PREFIX, PLUGIN (the plug-in's file name), PLUGINDIR (its folder, relative
# to the prefix) and APP_ID (the AppStream id, which names the menu entry).

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/tidepool bin/tidepool-render "${PLUGINDIR}/${PLUGIN}"
             share/applications/${APP_ID}.desktop share/icons/hicolor/256x256/apps/tidepool.png
             share/tidepool/translations/tidepool_en.qm)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

file(STRINGS "${PREFIX}/share/applications/${APP_ID}.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=\"${PREFIX}/bin/tidepool\"")
    message(FATAL_ERROR "the menu entry does not start the installed program: ${exec}")
endif()

set(elsewhere "${PREFIX}/elsewhere")
file(MAKE_DIRECTORY "${elsewhere}")
execute_process(COMMAND "${PREFIX}/bin/tidepool-render" -o wallpaper.png
                WORKING_DIRECTORY "${elsewhere}" RESULT_VARIABLE status ERROR_VARIABLE error)
if(EXISTS "${PREFIX}/bin/${PLUGIN}")
    message(FATAL_ERROR "the plug-in is installed beside the programs instead of ${PLUGINDIR}")
endif()
if(NOT status EQUAL 0 OR NOT EXISTS "${elsewhere}/wallpaper.png")
    message(FATAL_ERROR "the installed tidepool-render wrote no PNG (${status}): ${error}")
endif()
