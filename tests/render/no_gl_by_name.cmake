# Fails when the archive ARCHIVE refers to any gl* function by name.
execute_process(COMMAND ${NM} -u ${ARCHIVE} OUTPUT_VARIABLE undefined RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${ARCHIVE}")
endif()
string(REGEX MATCHALL "[ \t]U gl[A-Z][A-Za-z0-9]*" calls "${undefined}")
if(calls)
    message(FATAL_ERROR "called by name: ${calls}")
endif()
