# SPDX-License-Identifier: Apache-2.0
# Writes the JSON Schema of the tool's JSON view to a file at build time:
#   cmake -DVELLMETA=path/to/vellmeta -DOUTPUT=vellmeta.schema.json -P WriteSchema.cmake
execute_process(COMMAND ${VELLMETA} --json-schema OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "vellmeta --json-schema failed: ${status}")
endif()
