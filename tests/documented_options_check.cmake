# Every option tidepool-render's --help lists must be in its manual page and in both shell
# completions, and every option tidepool's --help lists in its manual page, so none of them falls
# behind when an option is added.
#
# Expects RENDERER (the built tidepool-render) and the files MANUAL, BASH and ZSH; APP (the built
# tidepool) and its manual APP_MANUAL.

cmake_minimum_required(VERSION 3.22)

# The long options a program's --help lists, at least minimum of them.
function(listed_options program minimum out)
    execute_process(COMMAND "${program}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${program} --help failed: ${status}")
    endif()
    string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
    list(REMOVE_DUPLICATES options)
    list(LENGTH options count)
    if(count LESS minimum)
        message(FATAL_ERROR "${program} --help lists only ${count} options: ${options}")
    endif()
    set(${out} ${options} PARENT_SCOPE)
endfunction()

function(expect_mentioned file options)
    file(READ "${file}" text)
    # A manual writes each "-" of an option as "\-".
    if(file MATCHES "\\.1$")
        string(REPLACE "\\-" "-" text "${text}")
    endif()
    foreach(option ${options})
        string(FIND "${text}" "${option}" at)
        if(at EQUAL -1)
            message(SEND_ERROR "${file} does not mention ${option}")
        endif()
    endforeach()
endfunction()

listed_options("${RENDERER}" 30 renderer_options)
foreach(file "${MANUAL}" "${BASH}" "${ZSH}")
    expect_mentioned("${file}" "${renderer_options}")
endforeach()

listed_options("${APP}" 2 app_options)
expect_mentioned("${APP_MANUAL}" "${app_options}")
