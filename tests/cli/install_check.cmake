# Installs the build into a fresh prefix and runs the installed program
# without --plugin: it must find and load the installed plug-in, not the one
# in the build tree. Arguments: BUILD_DIR, PREFIX, and EMULATOR (what runs
# the program when it is built for another system, such as Wine).
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
file(GLOB_RECURSE programs "${PREFIX}/*/veltrano" "${PREFIX}/*/veltrano.exe")
list(LENGTH programs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one installed veltrano under ${PREFIX}, found: ${programs}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=VELTRANO_PLUGIN
                        ${EMULATOR} "${programs}" --verbose commands
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed veltrano failed (${status}): ${err}")
endif()
set(plugin_dir "${PREFIX}/")
if(EMULATOR)
  # Under Wine the program names the plug-in as Windows does: Z:\work\...
  string(REPLACE "/" "\\" plugin_dir "${plugin_dir}")
endif()
string(FIND "${err}" "veltrano: plug-in " at)
if(NOT at EQUAL -1)
  string(FIND "${err}" "${plugin_dir}" at)
endif()
if(at EQUAL -1)
  message(FATAL_ERROR "the installed veltrano did not load the installed plug-in: ${err}")
endif()
string(FIND "${out}" "BuildCompIndex" listed)
if(listed EQUAL -1)
  message(FATAL_ERROR "the installed plug-in listed no commands: ${out}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
