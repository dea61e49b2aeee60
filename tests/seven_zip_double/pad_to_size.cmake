# Copies a program to OUT and pads it with zero bytes to SIZE: Ferrule checks
# 7z.exe for one exact size, so the stand-in must have it.
file(SIZE "${IN}" current)
if(current GREATER SIZE)
  message(FATAL_ERROR "${IN} is ${current} bytes, more than ${SIZE}")
endif()
get_filename_component(out_dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
file(COPY_FILE "${IN}" "${OUT}")
execute_process(COMMAND truncate -s ${SIZE} "${OUT}" COMMAND_ERROR_IS_FATAL ANY)
