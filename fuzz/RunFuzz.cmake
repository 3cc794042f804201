# Runs the fuzz target for a bounded time over a fresh copy of the corpus (the run adds what it
# finds to its copy), with the command's options as its dictionary. Fails on any finding. Writes the edges the run covered, per source file of the project, to
# coverage.txt in WORK and prints them.
#   cmake -DFUZZER=... -DCORPUS=... -DWORK=... -DSECONDS=... -DDICTIONARY=... -DSYMBOLIZER=...
#         -P RunFuzz.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/artifacts)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
get_filename_component(symbolizer_folder ${SYMBOLIZER} DIRECTORY)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "PATH=${symbolizer_folder}:$ENV{PATH}"
            ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
            -print_coverage=1 -dict=${DICTIONARY} -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
    RESULT_VARIABLE result ERROR_FILE ${WORK}/fuzz.log)

# libFuzzer's coverage report: a line per function, "COVERED_FUNC: hits: H edges: E/N NAME FILE:LINE".
file(STRINGS ${WORK}/fuzz.log functions REGEX "^(UN)?COVERED_FUNC: ")
set(files)
foreach(function IN LISTS functions)
    if(function MATCHES "edges: ([0-9]+)/([0-9]+) .* [^ ]*/((src|fuzz)/[^ :]+):[0-9]+$")
        string(MAKE_C_IDENTIFIER "${CMAKE_MATCH_3}" key)
        if(NOT DEFINED covered_${key})
            list(APPEND files ${CMAKE_MATCH_3})
            set(covered_${key} 0)
            set(edges_${key} 0)
        endif()
        math(EXPR covered_${key} "${covered_${key}} + ${CMAKE_MATCH_1}")
        math(EXPR edges_${key} "${edges_${key}} + ${CMAKE_MATCH_2}")
    endif()
endforeach()
list(SORT files)
set(report "")
foreach(source IN LISTS files)
    string(MAKE_C_IDENTIFIER "${source}" key)
    string(APPEND report "${source}: ${covered_${key}} of ${edges_${key}} edges\n")
endforeach()
file(WRITE ${WORK}/coverage.txt "${report}")
message(STATUS "edges covered by the fuzz run, per file (also in ${WORK}/coverage.txt):\n${report}")

if(NOT result EQUAL 0)
    file(STRINGS ${WORK}/fuzz.log findings REGEX "ERROR|broke its promise|SUMMARY")
    list(JOIN findings "\n" findings)
    message(FATAL_ERROR "the fuzz target found a fault (exit ${result}); the input is in ${WORK}/artifacts, "
                        "the run's log in ${WORK}/fuzz.log:\n${findings}")
endif()
