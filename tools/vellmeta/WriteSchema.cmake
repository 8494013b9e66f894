# SPDX-License-Identifier: Apache-2.0
# Writes the JSON Schema of the tool's JSON view to a file at build time:
#   cmake -DVELLMETA=path/to/vellmeta [-DEMULATOR="qemu-s390x -L ..."] -DOUTPUT=vellmeta.schema.json -P WriteSchema.cmake
separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")
execute_process(COMMAND ${emulator} ${VELLMETA} --json-schema OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "vellmeta --json-schema failed: ${status}")
endif()
