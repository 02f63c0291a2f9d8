# Empties the examples' run folder (RUN) and makes one folder per example in it.
file(REMOVE_RECURSE ${RUN})
foreach(example refhost_host own_classes edit_menu)
  file(MAKE_DIRECTORY ${RUN}/${example})
endforeach()
