# The system libraries below the layers, each as an interface target that stands for the
# shared libraries, or, in a target whose VENDARO_STATIC_SYSTEM_LIBRARIES property is on (the
# programs, see upgrade/ProgramBuild.cmake), for their static archives: a program then loads
# and binds a handful of shared libraries at start instead of seventeen.
#
#   vendaro_system_library(<name> SHARED <targets>... ARCHIVES <names>... [ALSO <names>...])
#
# ARCHIVES are the lib<name>.a in link order; ALSO are libraries that have no archive and are
# linked shared in either case. Without every archive the target is the shared one for all.
function(vendaro_system_library name)
  cmake_parse_arguments(arg "" "" "SHARED;ARCHIVES;ALSO" ${ARGN})
  set(archives)
  foreach(archive ${arg_ARCHIVES})
    find_library(VENDARO_ARCHIVE_${archive} NAMES lib${archive}.a)
    if(NOT VENDARO_ARCHIVE_${archive})
      message(STATUS "no lib${archive}.a: the programs link ${arg_SHARED} shared")
      add_library(${name} INTERFACE)
      target_link_libraries(${name} INTERFACE ${arg_SHARED})
      return()
    endif()
    list(APPEND archives ${VENDARO_ARCHIVE_${archive}})
  endforeach()
  foreach(also ${arg_ALSO})
    find_library(VENDARO_LIBRARY_${also} NAMES ${also} REQUIRED)
    list(APPEND archives ${VENDARO_LIBRARY_${also}})
  endforeach()
  set(static $<BOOL:$<TARGET_PROPERTY:VENDARO_STATIC_SYSTEM_LIBRARIES>>)
  add_library(${name} INTERFACE)
  foreach(shared ${arg_SHARED})
    target_include_directories(${name} INTERFACE $<TARGET_PROPERTY:${shared},INTERFACE_INCLUDE_DIRECTORIES>)
    target_link_libraries(${name} INTERFACE $<$<NOT:${static}>:${shared}>)
  endforeach()
  foreach(archive ${archives})
    target_link_libraries(${name} INTERFACE $<${static}:${archive}>)
  endforeach()
endfunction()
