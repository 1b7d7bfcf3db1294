# Settings every Zentrel target shares: link zentrel_common and nothing else is needed.
add_library(zentrel_common INTERFACE)
target_compile_features(zentrel_common INTERFACE cxx_std_20)
target_compile_options(zentrel_common INTERFACE
  -Wall -Wextra -Werror -Wold-style-cast -Wnon-virtual-dtor)
target_compile_definitions(zentrel_common INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
  QT_NO_FOREACH
  QT_NO_URL_CAST_FROM_STRING
  ZENTREL_VERSION="${PROJECT_VERSION}"
  ZENTREL_UPDATE_FEED_URL="${ZENTREL_UPDATE_FEED_URL}"
  ZENTREL_DONATION_URL="${ZENTREL_DONATION_URL}")

if(ZENTREL_SANITIZE)
  set(zentrel_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(zentrel_common INTERFACE ${zentrel_sanitizers})
  target_link_options(zentrel_common INTERFACE ${zentrel_sanitizers})
endif()

# Makes the headers of src/<prefix> includable as "<prefix>/Name.h" by `target` and by whatever
# links it, and by nothing else: each target has an include folder of its own that holds only its
# prefixes (as links to the sources), so an include reaching into a library the target does not
# link, sideways or upwards, fails to build.
get_filename_component(zentrel_source_root "${CMAKE_CURRENT_LIST_DIR}/../src" ABSOLUTE)
function(zentrel_export_headers target)
  set(root "${CMAKE_BINARY_DIR}/include/${target}")
  foreach(prefix IN LISTS ARGN)
    get_filename_component(parent "${root}/${prefix}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${zentrel_source_root}/${prefix}" "${root}/${prefix}" SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()

zentrel_export_headers(zentrel_common common)
