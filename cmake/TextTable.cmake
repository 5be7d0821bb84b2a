# vellumry_text_table(<target> TABLE <file.txt> HEADER <name.h> NAMESPACE <ns> [STATIC_BLOCK <Symbol>])
#
# Turns a UTF-8 text table into GBK byte constants at build time. The generated
# header lands in the build tree under the folder of the calling CMakeLists, so
# it is included as "<folder>/<name.h>" like any source header. With
# STATIC_BLOCK the texts are laid out in one contiguous object and a source
# file defining it is added to <target>.
function(vellumry_text_table target)
  cmake_parse_arguments(TT "" "TABLE;HEADER;NAMESPACE;STATIC_BLOCK" "" ${ARGN})
  file(RELATIVE_PATH relDir ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(outDir ${CMAKE_BINARY_DIR}/generated/${relDir})
  set(header ${outDir}/${TT_HEADER})
  set(table ${CMAKE_CURRENT_SOURCE_DIR}/${TT_TABLE})
  set(outputs ${header})
  set(args --table ${table} --header ${header} --namespace ${TT_NAMESPACE}
           --include ${relDir}/${TT_HEADER})
  if(TT_STATIC_BLOCK)
    get_filename_component(stem ${TT_HEADER} NAME_WE)
    set(source ${outDir}/${stem}.cpp)
    list(APPEND outputs ${source})
    list(APPEND args --static-block ${TT_STATIC_BLOCK} --source ${source})
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outDir}
    COMMAND texttable ${args}
    DEPENDS texttable ${table}
    COMMENT "Generating GBK texts from ${TT_TABLE}"
    VERBATIM)
  target_sources(${target} PRIVATE ${outputs})
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/generated)
endfunction()
