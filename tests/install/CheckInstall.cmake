# Installs the build tree into a scratch DESTDIR and compares what lands
# there with the committed list, so that a file added to or dropped from the
# package never goes unnoticed.
#   cmake -DBUILD_DIR=... -DDEST=... -DEXPECTED=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${DEST})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${DEST} ${DEST}/*)
list(TRANSFORM found PREPEND /)
list(SORT found)
file(STRINGS ${EXPECTED} expected)
list(SORT expected)

set(missing ${expected})
list(REMOVE_ITEM missing ${found})
set(extra ${found})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  list(JOIN missing "\n  " missing)
  list(JOIN extra "\n  " extra)
  message(FATAL_ERROR "installed files differ from ${EXPECTED}\nmissing:\n  ${missing}\nunexpected:\n  ${extra}")
endif()
