# cmake -DINPUT=FILE -DOUTPUT=FILE.gz -P gzip_file.cmake
# Compresses as Debian asks of documentation: at the highest level, without
# the file's name or time, so that the result depends on the content only.
find_program(GZIP gzip REQUIRED)
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
execute_process(COMMAND ${GZIP} -9 -n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip failed on ${INPUT}: ${status}")
endif()
