# SPDX-License-Identifier: Apache-2.0
# Writes the documentation's page of benchmark figures from the tables the
# benchmarks wrote into RESULTS (a build's bench-results folder: batch-N.md
# from vellmeta_batch_bench, decode-instructions.md from
# bench/decode-instructions), so that no figure is copied by hand.
#   cmake -DRESULTS=DIR -DOUTPUT=FILE -P docs/BenchmarkResults.cmake
file(GLOB tables ${RESULTS}/*.md)
list(SORT tables COMPARE NATURAL)
set(page "# Benchmark figures {#benchmark-figures}\n\n")
if(tables)
    string(APPEND page "The tables the benchmarks last wrote into `${RESULTS}`; the page "
        "Benchmarks tells how they are measured.\n\n")
    foreach(table IN LISTS tables)
        file(READ ${table} text)
        file(TIMESTAMP ${table} written "%Y-%m-%d %H:%M UTC" UTC)
        get_filename_component(name ${table} NAME)
        string(APPEND page "${text}\n(`${name}`, written ${written}.)\n\n")
    endforeach()
else()
    string(APPEND page "No benchmark has written its tables into `${RESULTS}` yet. Run the benchmarks "
        "as the page Benchmarks tells, then build the documentation again: this page then "
        "shows their tables.\n")
endif()
file(WRITE ${OUTPUT} "${page}")
