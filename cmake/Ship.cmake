# Turns a freshly linked program into the shipped file in place: its full
# copy goes to unstripped/ beside it (for reading crash addresses), the file
# itself is stripped of every symbol. Both carry the commit's time as their PE
# time stamp (objcopy and strip stamp the current time otherwise).
#   cmake -DFILE=<program> -DEPOCH_FILE=<BuildEpoch.txt> -DOBJCOPY=<objcopy> -DSTRIP=<strip> -P Ship.cmake
set(_epoch 0)
if(EXISTS "${EPOCH_FILE}")
  file(STRINGS "${EPOCH_FILE}" _epoch LIMIT_COUNT 1)
endif()
set(ENV{SOURCE_DATE_EPOCH} "${_epoch}")
get_filename_component(_dir "${FILE}" DIRECTORY)
get_filename_component(_name "${FILE}" NAME)
file(MAKE_DIRECTORY "${_dir}/unstripped")
execute_process(COMMAND "${OBJCOPY}" "${FILE}" "${_dir}/unstripped/${_name}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${STRIP}" --strip-all -o "${FILE}" "${_dir}/unstripped/${_name}"
                COMMAND_ERROR_IS_FATAL ANY)
