# Build helpers of the two programs.

# Compiles a form description into the program: writes a source file whose function
# registers the description's bytes for the form class, and makes the build configure
# again when the description changes.
function(vendaro_embed_form_description out_source dfm form_class register_function include_header)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dfm})
  file(READ ${dfm} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR byte_count "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  get_filename_component(name ${dfm} NAME_WE)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}FormDescription.cpp)
  file(WRITE ${source}.new
    "// Generated at build time from ${name}.dfm: the form description compiled into the program.\n"
    "#include \"${include_header}\"\n"
    "#include \"platform/classlib/Forms.h\"\n\n"
    "namespace {\nconst char kDescription[] = {${bytes}};\n}\n\n"
    "void ${register_function}()\n{\n"
    "    RegisterFormDescription(\"${form_class}\", AnsiString(kDescription, ${byte_count}));\n}\n")
  # Rewritten only when it changed, so an unchanged description compiles nothing again.
  file(COPY_FILE ${source}.new ${source} ONLY_IF_DIFFERENT)
  file(REMOVE ${source}.new)
  set(${out_source} ${source} PARENT_SCOPE)
endfunction()

# The programs' tests make their databases with the sample library, whose target the top
# level defines after the programs: link it once the test target exists.
function(vendaro_link_sample_library target)
  if(TARGET ${target})
    target_link_libraries(${target} PRIVATE vendaro_samples)
  endif()
endfunction()

# A program's tests also start the built program as a process: they find it through
# PROGRAM_PATH, and building the tests builds the program.
function(vendaro_test_runs_program target program)
  if(TARGET ${target})
    target_compile_definitions(${target} PRIVATE PROGRAM_PATH="$<TARGET_FILE:${program}>")
    add_dependencies(${target} ${program})
  endif()
endfunction()

# The programs carry the C++ run-time and the system libraries they use in themselves (see
# cmake/SystemLibraries.cmake): a dozen shared libraries fewer to load and bind at every start.
# Sanitizer builds keep the shared run-time the sanitizers expect.
function(vendaro_link_runtime_statically program)
  if(NOT VENDARO_SANITIZE)
    target_link_options(${program} PRIVATE -static-libstdc++ -static-libgcc)
    set_target_properties(${program} PROPERTIES VENDARO_STATIC_SYSTEM_LIBRARIES ON)
  endif()
endfunction()
