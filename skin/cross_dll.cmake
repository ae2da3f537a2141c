# ct_cross_dll(<name> TRIPLET <triplet> SOURCES <c files> [LIBS <libs>] [ORDINAL_IMPORTS <def>])
# Builds <name>.dll with the MinGW cross compiler of <triplet>, whatever compiler the build
# itself uses, so that Linux tests can read Windows images: plain C, no C runtime and no
# start-up code, DllMain as the entry point, undecorated exports. ORDINAL_IMPORTS names a
# .def file from which an import library binding by ordinal is made. Beside the DLL,
# <name>.dll.txt holds the cross objdump's listing of its headers and tables. IMAGE_BASE
# sets the preferred base (else the linker's default).
function(ct_cross_dll name)
  cmake_parse_arguments(ARG "" "TRIPLET;ORDINAL_IMPORTS;IMAGE_BASE" "SOURCES;LIBS" ${ARGN})
  set(dll ${CMAKE_CURRENT_BINARY_DIR}/${name}.dll)
  if(WIN32 AND NOT CMAKE_CROSSCOMPILING)
    set(tools "")  # a native Windows build: the toolchain's own gcc, dlltool and objdump
    set(gcc gcc)
  else()
    set(tools ${ARG_TRIPLET}-)
    set(gcc ${ARG_TRIPLET}-gcc-posix)
  endif()
  if(ARG_TRIPLET MATCHES "^i686")
    set(entry _DllMain@12)
  else()
    set(entry DllMain)
  endif()
  set(sources)
  foreach(source IN LISTS ARG_SOURCES)
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
  set(imports)
  if(ARG_ORDINAL_IMPORTS)
    set(imports ${CMAKE_CURRENT_BINARY_DIR}/${name}_ordinals.a)
    add_custom_command(OUTPUT ${imports}
      COMMAND ${tools}dlltool -d ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_ORDINAL_IMPORTS} -l ${imports}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_ORDINAL_IMPORTS} VERBATIM)
  endif()
  set(libs)
  if(ARG_IMAGE_BASE)
    list(APPEND libs -Wl,--image-base=${ARG_IMAGE_BASE})
  endif()
  foreach(lib IN LISTS ARG_LIBS)
    list(APPEND libs -l${lib})
  endforeach()
  add_custom_command(OUTPUT ${dll} ${dll}.txt
    COMMAND ${gcc} -std=c11 -O2 -Wall -Wextra -ffreestanding -fno-asynchronous-unwind-tables
            -fno-stack-protector -mno-stack-arg-probe -shared -nostdlib -nostartfiles -s
            -Wl,-e,${entry} -Wl,--kill-at -Wl,--dynamicbase -Wl,--disable-auto-image-base
            -o ${dll} ${sources} ${imports} ${libs} -lgcc
    COMMAND sh -c "${tools}objdump -h -p ${dll} > ${dll}.txt"
    DEPENDS ${sources} ${imports}
    COMMENT "Cross-building ${name}.dll (${ARG_TRIPLET})" VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${dll} ${dll}.txt)
  set_target_properties(${name} PROPERTIES DLL_FILE ${dll} LISTING_FILE ${dll}.txt)
endfunction()
