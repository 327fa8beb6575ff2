# One interface target carries the build settings that every target shares.
add_library(relvano_build INTERFACE)
target_compile_features(relvano_build INTERFACE cxx_std_20)
target_compile_options(relvano_build INTERFACE -Wall -Wextra -pedantic)
if(RELVANO_WERROR)
  target_compile_options(relvano_build INTERFACE -Werror)
endif()
target_compile_definitions(relvano_build INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_USE_QSTRINGBUILDER
  $<$<CONFIG:Debug>:QT_FORCE_ASSERTS>)
if(WIN32)
  target_compile_definitions(relvano_build INTERFACE NOMINMAX UNICODE _UNICODE)
endif()

if(RELVANO_SANITIZE)
  target_compile_options(relvano_build INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(relvano_build INTERFACE -fsanitize=address,undefined)
endif()

if(RELVANO_FUZZ)
  # The core is instrumented for coverage; the fuzz targets add the libFuzzer main.
  target_compile_options(relvano_build INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(relvano_build INTERFACE -fsanitize=address,undefined)
endif()
