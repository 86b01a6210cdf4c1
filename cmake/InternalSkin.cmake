# The internal skin "Android OS (internal)": the folder skins/AndroidOS is packed at build
# time by the project's own pack writer (the skin tool quorvel-skin), and the program gets
# the pack and the two window shadow templates as raw-data resources.
#
#   quorvel_internal_skin_pack(<var>)   a rule in the current directory that writes the pack
#                                       to <current binary dir>/AndroidOS.cvz, and a target
#                                       quorvel_internal_skin_<n> building it; <var> = the path,
#                                       <var>_TARGET = the target
#   quorvel_add_internal_skin_resources(<exe>)   packs and embeds into <exe> (Windows)
#
# Included from the directory that defines quorvel.exe, it embeds the resources there.
#
# Which quorvel-skin packs: a native build runs its own; a cross build runs the one named
# by QUORVEL_HOST_SKIN_TOOL (for example build/native/tools/quorvel-skin) or, when that is
# empty, builds one for the build machine from this source tree (ExternalProject).

set(QUORVEL_HOST_SKIN_TOOL "" CACHE FILEPATH
    "A quorvel-skin that runs on the build machine, used by cross builds to pack the internal skin; empty: build one")

set(QUORVEL_INTERNAL_SKIN_DIR ${CMAKE_SOURCE_DIR}/skins/AndroidOS CACHE INTERNAL "")
set(QUORVEL_SHADOW_ACTIVE ${CMAKE_SOURCE_DIR}/skins/shadows/acSHDA.png CACHE INTERNAL "")
set(QUORVEL_SHADOW_INACTIVE ${CMAKE_SOURCE_DIR}/skins/shadows/acSHDI.png CACHE INTERNAL "")
# Pack order: the options file, the bitmaps, then the PNG images.
set(QUORVEL_INTERNAL_SKIN_ENTRIES Options.dat ButtonHuge.bmp Master.bmp ButtonGlow.png EditGlow.png Ext_Border.png CACHE INTERNAL "")

# Sets <toolVar> to the command and <depVar> to what the pack rule must depend on.
function(_quorvel_skin_tool toolVar depVar)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${toolVar} $<TARGET_FILE:quorvel-skin> PARENT_SCOPE)
    set(${depVar} quorvel-skin PARENT_SCOPE)
  elseif(QUORVEL_HOST_SKIN_TOOL)
    set(${toolVar} ${QUORVEL_HOST_SKIN_TOOL} PARENT_SCOPE)
    set(${depVar} ${QUORVEL_HOST_SKIN_TOOL} PARENT_SCOPE)
  else()
    set(hostDir ${CMAKE_BINARY_DIR}/host-skin-tool)
    if(NOT TARGET quorvel_host_skin_tool)
      include(ExternalProject)
      # A native configuration of this same tree (no toolchain file), of which only the
      # tool is built; rebuilt every time so tool changes reach the pack.
      ExternalProject_Add(quorvel_host_skin_tool
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${hostDir}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${hostDir} --target quorvel-skin
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${hostDir}/tools/quorvel-skin
        USES_TERMINAL_BUILD ON)
    endif()
    set(${toolVar} ${hostDir}/tools/quorvel-skin PARENT_SCOPE)
    set(${depVar} quorvel_host_skin_tool PARENT_SCOPE)
  endif()
endfunction()

function(quorvel_internal_skin_pack var)
  _quorvel_skin_tool(tool toolDep)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/AndroidOS.cvz)
  # One target per directory that packs (each directory has its own copy of the rule);
  # a second request in the same directory shares the first one's rule.
  string(MAKE_C_IDENTIFIER "${CMAKE_CURRENT_SOURCE_DIR}" id)
  string(MD5 id "${id}")
  string(SUBSTRING ${id} 0 8 id)
  set(target quorvel_internal_skin_${id})
  if(NOT TARGET ${target})
    set(inputs)
    foreach(entry IN LISTS QUORVEL_INTERNAL_SKIN_ENTRIES)
      list(APPEND inputs ${QUORVEL_INTERNAL_SKIN_DIR}/${entry})
    endforeach()
    string(REPLACE ";" "|" entries "${QUORVEL_INTERNAL_SKIN_ENTRIES}")
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DTOOL=${tool} -DFOLDER=${QUORVEL_INTERNAL_SKIN_DIR} -DOUT=${out}
              -DENTRIES=${entries} -P ${CMAKE_SOURCE_DIR}/cmake/PackInternalSkin.cmake
      DEPENDS ${inputs} ${toolDep} ${CMAKE_SOURCE_DIR}/cmake/PackInternalSkin.cmake
      COMMENT "Packing the internal skin Android OS (internal)"
      VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${out})
  endif()
  set(${var} ${out} PARENT_SCOPE)
  set(${var}_TARGET ${target} PARENT_SCOPE)
endfunction()

function(quorvel_add_internal_skin_resources exe)
  quorvel_internal_skin_pack(pack)
  set(QV_SKIN_PACK ${pack})
  set(QV_SHADOW_ACTIVE ${QUORVEL_SHADOW_ACTIVE})
  set(QV_SHADOW_INACTIVE ${QUORVEL_SHADOW_INACTIVE})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/skin_resources.rc)
  configure_file(${CMAKE_SOURCE_DIR}/src/app/win32/skin_resources.rc.in ${rc} @ONLY)
  # The resource compiler does not see the files the script names: rebuild the resource
  # object whenever the pack or a template changes.
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${pack};${QUORVEL_SHADOW_ACTIVE};${QUORVEL_SHADOW_INACTIVE}")
  target_sources(${exe} PRIVATE ${rc})
  add_dependencies(${exe} ${pack_TARGET})
endfunction()

if(WIN32 AND TARGET quorvel)
  get_target_property(_quorvel_dir quorvel SOURCE_DIR)
  if(_quorvel_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    quorvel_add_internal_skin_resources(quorvel)
  endif()
endif()
