# Fails when the committed translation TS is not complete and up to date: when lupdate, run with
# OPTIONS over SOURCES (both "|"-separated) into a copy of it, finds a text it lacks or one it
# holds no longer, or when a text in it has no finished translation.
#
# Expects LUPDATE, TS, SOURCES, OPTIONS, INCLUDE (the include folder) and SCRATCH (a folder).

cmake_minimum_required(VERSION 3.22)

string(REPLACE "|" ";" SOURCES "${SOURCES}")
string(REPLACE "|" ";" OPTIONS "${OPTIONS}")
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
get_filename_component(name "${TS}" NAME)
set(copy "${SCRATCH}/${name}")
file(COPY_FILE "${TS}" "${copy}")
execute_process(COMMAND "${LUPDATE}" ${OPTIONS} -I "${INCLUDE}" ${SOURCES} -ts "${copy}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status}):\n${out}")
endif()
if(out MATCHES "[Ww]arning")
    message(SEND_ERROR "lupdate warns:\n${out}")
endif()

file(READ "${TS}" committed)
file(READ "${copy}" updated)
if(NOT committed STREQUAL updated)
    execute_process(COMMAND diff -u "${TS}" "${copy}" OUTPUT_VARIABLE difference)
    message(SEND_ERROR "${name} is not up to date with the sources; build the target "
                       "update_translations and translate what is new:\n${difference}")
endif()
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished
       "${committed}")
if(unfinished)
    message(SEND_ERROR "${name} has texts without a finished translation:\n${unfinished}")
endif()
