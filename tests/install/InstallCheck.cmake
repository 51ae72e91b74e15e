# Installs the build into a fresh prefix and checks that the installed program does not find the
# bundled sample bank-code file where it looks for the Bundesbank's file, and says where that
# file belongs. Run by CTest: cmake -DBUILD_DIR=... -DWORK_DIR=... -P InstallCheck.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(program_dir "${WORK_DIR}/prefix/lib/zelvan-konverter")
if(NOT EXISTS "${program_dir}/zelvan-konverter")
    message(FATAL_ERROR "no program in ${program_dir}")
endif()
if(EXISTS "${program_dir}/ZELVANBLZ4.txt")
    message(FATAL_ERROR "the sample bank-code file was installed beside the program")
endif()

execute_process(COMMAND "${WORK_DIR}/prefix/bin/zelvan-konverter" iban INPUT_FILE /dev/null
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"${program_dir}/ZELVANBLZ4.txt\" wurde nicht \
gefunden. Die BLZ-Datei der Bundesbank mit IBAN-Regeln gehört als \"ZELVANBLZ4.txt\" in den Programmordner \
\"${program_dir}/\".\n")
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL expected)
    message(FATAL_ERROR "installed program without bank-code file: status ${status}\n${out}${err}\nexpected:\n${expected}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
