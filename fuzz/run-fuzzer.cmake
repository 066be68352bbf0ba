# Runs one libFuzzer target for a bounded time from a fresh copy of its seed corpus.
#   cmake -DFUZZER=<exe> -DSEEDS=<dir> -DWORK_DIR=<dir> -DSECONDS=<n> [-DDICTIONARY=<file>]
#         -P run-fuzzer.cmake
# Fails when the fuzzer finds an input that breaks a property (it then leaves the input in
# WORK_DIR as crash-*, leak-* or timeout-*).
foreach(required FUZZER SEEDS WORK_DIR SECONDS)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run-fuzzer.cmake: ${required} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY "${SEEDS}/" DESTINATION "${WORK_DIR}/corpus")

set(options -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix=${WORK_DIR}/)
if(DEFINED DICTIONARY)
  list(APPEND options -dict=${DICTIONARY})
endif()

execute_process(
  COMMAND "${FUZZER}" ${options} "${WORK_DIR}/corpus"
  WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the failing input is in ${WORK_DIR}")
endif()
