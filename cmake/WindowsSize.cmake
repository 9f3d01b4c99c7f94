# The .exe carries the C and C++ run-time statically; beside the window
# description it stays small (scripts/exe-size.sh prints the parts). Every
# function and datum gets a section of its own so that the linker can drop
# what nothing uses, and static locals go without a lock: the program has
# one thread.
if(WIN32)
  add_compile_options(-ffunction-sections -fdata-sections -fno-threadsafe-statics)
endif()
