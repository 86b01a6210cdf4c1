# cmake -P script run at build time: packs the internal skin folder with the project's skin
# tool. Variables: TOOL (a quorvel-skin that runs here), FOLDER, OUT, ENTRIES (the entry
# names in pack order, separated by "|").
string(REPLACE "|" ";" entries "${ENTRIES}")
get_filename_component(out_dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
file(REMOVE "${OUT}")
# The skin's entries go into the pack in a fixed order (options first, then the bitmaps,
# then the PNG images). A tool that takes no entry list answers with its usage (exit code
# 2); it then packs the whole folder in its own order, which readers accept as well.
execute_process(COMMAND "${TOOL}" pack "${FOLDER}" "${OUT}" ${entries}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(result EQUAL 2)
  message(WARNING "${TOOL} takes no entry order; the internal skin is packed in the tool's own order")
  execute_process(COMMAND "${TOOL}" pack "${FOLDER}" "${OUT}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
endif()
if(NOT result EQUAL 0 OR NOT EXISTS "${OUT}")
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "Packing the internal skin failed (${result}): ${errors}${output}")
endif()
