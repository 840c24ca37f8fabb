# Every option tidepool-render's --help lists must be in its manual page and in both shell
# completions, so none of them falls behind when an option is added.
#
# Expects RENDERER (the built tidepool-render) and the files MANUAL, BASH and ZSH.

cmake_minimum_required(VERSION 3.22)

execute_process(COMMAND "${RENDERER}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "tidepool-render --help failed: ${status}")
endif()
string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
list(REMOVE_DUPLICATES options)
list(LENGTH options count)
if(count LESS 30)
    message(FATAL_ERROR "--help lists only ${count} options: ${options}")
endif()

foreach(file MANUAL BASH ZSH)
    file(READ "${${file}}" text)
    # The manual writes each "-" of an option as "\-".
    if(file STREQUAL "MANUAL")
        string(REPLACE "\\-" "-" text "${text}")
    endif()
    foreach(option ${options})
        string(FIND "${text}" "${option}" at)
        if(at EQUAL -1)
            message(SEND_ERROR "${${file}} does not mention ${option}")
        endif()
    endforeach()
endforeach()
