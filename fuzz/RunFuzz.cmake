# Runs the fuzz target for a bounded time over a fresh copy of the corpus (the run adds what it
# finds to its copy; the kept findings are read as further seeds). Fails on any finding.
#   cmake -DFUZZER=... -DCORPUS=... -DFINDINGS=... -DWORK=... -DSECONDS=... -P RunFuzz.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/artifacts)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
            -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus ${FINDINGS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fuzz target found a fault (exit ${result}); the input is in ${WORK}/artifacts")
endif()
