# Run by CPack before it packs the staged files: removes the .comment and
# .note sections (compiler and linker identification, no use at run time)
# from the programs, as Debian's own packaging does.
find_program(QX410_OBJCOPY NAMES objcopy REQUIRED)
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${QX410_OBJCOPY} --remove-section=.comment --remove-section=.note ${program}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not strip ${program}")
  endif()
endforeach()
