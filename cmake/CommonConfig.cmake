# One interface target carries the build settings that every target shares.
add_library(relvano_build INTERFACE)
target_compile_features(relvano_build INTERFACE cxx_std_20)
target_compile_options(relvano_build INTERFACE -Wall -Wextra -pedantic -Wold-style-cast
  -Woverloaded-virtual -Wnon-virtual-dtor)
if(RELVANO_WERROR)
  target_compile_options(relvano_build INTERFACE -Werror)
endif()
target_compile_definitions(relvano_build INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_CAST_TO_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
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

# The program's own code also spells out every conversion from 8-bit text
# (QStringLiteral, u"..."_s, QLatin1String): the encoding is always a choice.
# Tests and benchmarks, full of literal fixtures, do without.
add_library(relvano_strict INTERFACE)
target_compile_definitions(relvano_strict INTERFACE QT_NO_CAST_FROM_ASCII)
