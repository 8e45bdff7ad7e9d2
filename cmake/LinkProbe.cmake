# Builds a probe that calls up a layer and passes only when the link fails on
# the symbol the probe reaches for: the layer's link check would catch the
# same call from inside the layer.
#   cmake -DBUILD_DIR=... -DPROBE=target -DSYMBOL=name -P LinkProbe.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${PROBE}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "${PROBE} linked: its layer reaches the layer above")
endif()
string(FIND "${output}" "undefined reference to `${SYMBOL}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PROBE} failed without the missing ${SYMBOL}:\n${output}")
endif()
string(REGEX MATCH "[^\n]*undefined reference to `${SYMBOL}[^\n]*" line "${output}")
message(STATUS "${line}")
