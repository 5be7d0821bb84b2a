# Qt is used by platform/ui and by the widget half of units/, and nowhere
# else. These checks make that a fact of the build rather than a comment:
#
#   vellumry_check_qt_free(LINK <targets...> COMPILE <targets...>)
#
# LINK targets may not link Qt at all, not even through another library (the
# program description, the unit records and the tools built on them).
# COMPILE targets may not see a Qt header: no Qt include folder reaches their
# compilation. They may still link Qt privately through platform/ui, whose
# public headers are plain. Both are checked when the build is configured;
# a target that breaks the rule stops the configuration.
#
# vellumry_add_qt_free_header_test(<targets...>) adds a test that reads the
# dependency log of the built objects of those targets and fails when any of
# them included a header from a Qt folder, however it got there.

# Everything `target` links, through other targets, as a list of names.
# With COMPILE_ONLY, link-only dependencies ($<LINK_ONLY:...>, which bring no
# include folders) are left out.
function(_vellumry_link_closure target out)
  cmake_parse_arguments(LC "COMPILE_ONLY" "" "" ${ARGN})
  set(seen)
  set(pending ${target})
  set(first TRUE)
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen)
      continue()
    endif()
    # Qt's imported targets are visible only in the folders that found Qt,
    # not here: they count by name.
    if(current MATCHES "^Qt[0-9]*::")
      list(APPEND seen ${current})
      continue()
    endif()
    if(NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(type ${current} TYPE)
    set(deps)
    # A target's own link libraries count for itself; for its dependencies
    # only what they pass on.
    if(first AND NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(own ${current} LINK_LIBRARIES)
      if(own)
        list(APPEND deps ${own})
      endif()
    endif()
    get_target_property(passed ${current} INTERFACE_LINK_LIBRARIES)
    if(passed)
      list(APPEND deps ${passed})
    endif()
    set(first FALSE)
    foreach(dep IN LISTS deps)
      if(dep MATCHES "^\\$<LINK_ONLY:(.*)>$")
        if(LC_COMPILE_ONLY)
          continue()
        endif()
        set(dep ${CMAKE_MATCH_1})
      endif()
      if(dep MATCHES "^\\$<")
        continue()  # other generator expressions carry no target here
      endif()
      list(APPEND pending ${dep})
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(_vellumry_fail_on_qt target closure how)
  foreach(dep IN LISTS closure)
    if(dep MATCHES "^Qt[0-9]*::")
      message(FATAL_ERROR "${target} must be Qt-free, but ${how} ${dep}. "
                          "Only platform/ui and the widget half of units/ may use Qt.")
    endif()
  endforeach()
endfunction()

function(vellumry_check_qt_free)
  cmake_parse_arguments(QF "" "" "LINK;COMPILE" ${ARGN})
  foreach(target IN LISTS QF_LINK)
    _vellumry_link_closure(${target} closure)
    _vellumry_fail_on_qt(${target} "${closure}" "it links")
  endforeach()
  foreach(target IN LISTS QF_COMPILE QF_LINK)
    _vellumry_link_closure(${target} closure COMPILE_ONLY)
    _vellumry_fail_on_qt(${target} "${closure}" "its compilation sees the headers of")
  endforeach()
endfunction()

function(vellumry_add_qt_free_header_test)
  add_test(NAME qt_free_headers
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} "-DTARGETS=${ARGN}"
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckQtHeaders.cmake)
endfunction()
