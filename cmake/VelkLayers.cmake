# velk_layer(NAME DIRS dir... LINKS target... [QT])
# Builds a static library from the sources directly inside each listed folder
# (not its subfolders, so `ui/` folders never leak into a headless layer).
function(velk_layer name)
  cmake_parse_arguments(ARG "QT" "" "DIRS;LINKS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS
         "${PROJECT_SOURCE_DIR}/${dir}/*.cpp"
         "${PROJECT_SOURCE_DIR}/${dir}/*.h")
    list(APPEND sources ${found})
    if(ARG_QT)
      file(GLOB qrc CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.qrc")
      list(APPEND sources ${qrc})
    endif()
  endforeach()
  if(NOT sources)
    set(stub "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
    file(WRITE "${stub}" "// ${name} has no sources yet\n")
    list(APPEND sources "${stub}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  velk_warnings(${name})
endfunction()

function(velk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                         $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
  if(VELK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(VELK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
