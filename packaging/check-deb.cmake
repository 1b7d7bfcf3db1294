# Builds the .deb from a finished build tree and checks what it installs and depends on.
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -P check-deb.cmake
foreach(variable BUILD_DIR WORK_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(
  COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages "${WORK_DIR}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .deb, found: ${packages}")
endif()

execute_process(COMMAND dpkg-deb --field ${packages} Package Depends OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-deb --contents ${packages} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${fields}")

set(expected_fields "Package: zentrel" "fonts-material-design-icons-iconfont" "qt6-qpa-plugins"
    "libqt6widgets6" "libqt6dbus6" "libqt6network6" "libc6" "libstdc++6")
set(expected_files "./usr/bin/zentrel" "./usr/share/applications/app.zentrel.Zentrel.desktop"
    "./usr/share/metainfo/app.zentrel.Zentrel.metainfo.xml"
    "./usr/share/icons/hicolor/scalable/apps/app.zentrel.Zentrel.svg" "./usr/share/man/man1/zentrel.1.gz"
    "./usr/share/bash-completion/completions/zentrel")
foreach(expected IN LISTS expected_fields)
  string(FIND "${fields}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package control fields lack ${expected}:\n${fields}")
  endif()
endforeach()
foreach(expected IN LISTS expected_files)
  string(FIND "${contents}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${expected}:\n${contents}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")
