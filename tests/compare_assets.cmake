# Runs the asset generator into OUT and compares each file with the committed one in ASSETS.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_assets failed: ${result}")
endif()
foreach(name err.png icon.png sample.png)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${ASSETS}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from what tools/make_assets.cpp draws")
  endif()
endforeach()
