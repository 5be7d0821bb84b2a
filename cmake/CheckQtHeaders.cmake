# Run as a test (cmake -DBUILD_DIR=... -DTARGETS="a;b" -P CheckQtHeaders.cmake):
# reads the dependency log of the build (ninja -t deps) and fails when an
# object of one of TARGETS included a header from a Qt folder. The objects
# must have been built; an object of those targets missing from the log, or
# a target with none at all, fails too, so the check cannot pass by looking
# at nothing.

find_program(NINJA ninja REQUIRED)
execute_process(COMMAND ${NINJA} -C ${BUILD_DIR} -t deps
  OUTPUT_VARIABLE log RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the dependency log of ${BUILD_DIR}")
endif()

string(REPLACE "\n" ";" lines "${log}")
set(current "")
set(offending "")
foreach(target IN LISTS TARGETS)
  set(count_${target} 0)
endforeach()
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ].*\\.o): #deps")
    set(object ${CMAKE_MATCH_1})
    set(current "")
    foreach(target IN LISTS TARGETS)
      if(object MATCHES "(^|/)CMakeFiles/${target}\\.dir/")
        set(current ${target})
        math(EXPR count_${target} "${count_${target}} + 1")
      endif()
    endforeach()
  elseif(current AND line MATCHES "^    (.*)$")
    set(header ${CMAKE_MATCH_1})
    if(header MATCHES "/qt6/|/Qt[A-Za-z]+/|/qt/Qt")
      list(APPEND offending "${current}: ${object} includes ${header}")
    endif()
  endif()
endforeach()

foreach(target IN LISTS TARGETS)
  if(count_${target} EQUAL 0)
    message(FATAL_ERROR "no built object of ${target} in the dependency log: build it before this check")
  endif()
endforeach()
if(offending)
  list(JOIN offending "\n  " report)
  message(FATAL_ERROR "Qt headers reached Qt-free code:\n  ${report}")
endif()
list(LENGTH TARGETS checked)
message(STATUS "${checked} Qt-free targets: no Qt header in any of their objects")
