# Settings every Zentrel target shares: link zentrel_common and nothing else is needed.
add_library(zentrel_common INTERFACE)
target_compile_features(zentrel_common INTERFACE cxx_std_20)
target_include_directories(zentrel_common INTERFACE ${PROJECT_SOURCE_DIR}/src/common)
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
