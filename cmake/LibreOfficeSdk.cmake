# Finds the office and its SDK, generates the office API headers from its type
# libraries (Debian's libreoffice-dev ships only the runtime headers), and
# offers the imported target LibreOffice::Uno.
set(LIBREOFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program" CACHE PATH "The office's program folder")
set(LIBREOFFICE_SDK_DIR "/usr/lib/libreoffice/sdk" CACHE PATH "The office SDK folder")

find_program(CPPUMAKER cppumaker HINTS ${LIBREOFFICE_SDK_DIR}/bin NO_DEFAULT_PATH REQUIRED)
find_path(LIBREOFFICE_INCLUDE_DIR sal/types.h HINTS /usr/include/libreoffice REQUIRED)
foreach(lib uno_cppu uno_cppuhelpergcc3 uno_sal)
  find_library(LIBREOFFICE_${lib} NAMES ${lib} lib${lib}.so.3 HINTS ${LIBREOFFICE_PROGRAM_DIR} ${LIBREOFFICE_SDK_DIR}/lib REQUIRED)
endforeach()

set(_types ${LIBREOFFICE_PROGRAM_DIR}/types.rdb ${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb)
set(LIBREOFFICE_GENERATED_DIR ${CMAKE_BINARY_DIR}/uno-headers)
set(_stamp ${LIBREOFFICE_GENERATED_DIR}/.stamp)
file(MAKE_DIRECTORY ${LIBREOFFICE_GENERATED_DIR})
add_custom_command(OUTPUT ${_stamp}
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${LIBREOFFICE_GENERATED_DIR}/com
  COMMAND ${CPPUMAKER} -Gc -O${LIBREOFFICE_GENERATED_DIR} ${_types}
  COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
  DEPENDS ${_types}
  COMMENT "Generating the office API headers")
add_custom_target(uno_headers DEPENDS ${_stamp})

add_library(LibreOffice::Uno INTERFACE IMPORTED GLOBAL)
# SYSTEM: the office's own headers do not pass our warning set.
target_include_directories(LibreOffice::Uno SYSTEM INTERFACE ${LIBREOFFICE_INCLUDE_DIR} ${LIBREOFFICE_GENERATED_DIR})
target_compile_definitions(LibreOffice::Uno INTERFACE LINUX UNX CPPU_ENV=gcc3)
target_link_libraries(LibreOffice::Uno INTERFACE ${LIBREOFFICE_uno_cppu} ${LIBREOFFICE_uno_cppuhelpergcc3} ${LIBREOFFICE_uno_sal})
target_link_options(LibreOffice::Uno INTERFACE "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}")
