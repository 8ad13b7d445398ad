# Resources compiled into an executable: the program's resource table (platform/win/Resources.h)
# and its version block (platform/win/Version.h).

set(RESOURCES_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResources.cmake)
set(RESOURCES_VERSION_GEN_SOURCE ${CMAKE_CURRENT_LIST_DIR}/VersionBlockGen.cpp)

# project_resources(<name> <TYPE> <resource name or #number> <file> ...)
# An object library whose unit adds each file's bytes to the resource table at start-up;
# TYPE is CURSOR (a .cur file), BITMAP (a .bmp file) or RCDATA (any bytes). Link it into each
# executable that loads the resources.
function(project_resources name)
  set(args ${ARGN})
  list(LENGTH args n)
  math(EXPR rem "${n} % 3")
  if(NOT rem EQUAL 0)
    message(FATAL_ERROR "project_resources(${name}): give TYPE NAME FILE triples")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  set(files)
  foreach(f IN LISTS args)
    if(EXISTS "${f}")
      list(APPEND files "${f}")
    endif()
  endforeach()
  string(REPLACE ";" "|" list_arg "${args}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} "-DRESOURCES=${list_arg}" -DOUTPUT=${out} -P ${RESOURCES_EMBED_SCRIPT}
    DEPENDS ${files} ${RESOURCES_EMBED_SCRIPT}
    COMMENT "Resource table ${name}"
    VERBATIM)
  add_library(${name} OBJECT ${out})
  target_link_libraries(${name} PRIVATE platform_rtl)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}")
endfunction()

# project_version_block(<name> VERSION <a.b.c.d> STRINGS <Key=Text> ...)
# An object library holding the version block (fixed information with file and product version,
# the string table "040904e4" with the given strings, the translation 0409/04E4) in the ELF
# section that GetFileVersionInfoW reads. Link it into the executable.
function(project_version_block name)
  cmake_parse_arguments(ARG "" "VERSION" "STRINGS" ${ARGN})
  if(NOT TARGET rcv_version_block_gen)
    add_executable(rcv_version_block_gen ${RESOURCES_VERSION_GEN_SOURCE} ${PROJECT_SOURCE_DIR}/platform/win/VersionBlock.cpp)
    target_include_directories(rcv_version_block_gen PRIVATE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(rcv_version_block_gen PRIVATE platform_rtl)
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND rcv_version_block_gen ${out} ${ARG_VERSION} ${ARG_STRINGS}
    DEPENDS rcv_version_block_gen
    COMMENT "Version block ${name} (${ARG_VERSION})"
    VERBATIM)
  add_library(${name} OBJECT ${out})
endfunction()
