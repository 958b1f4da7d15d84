# Fills a manual page's template with the project's version and the image
# formats of this system, as the built oskivo-cli offers them. Run at build time:
#   cmake -DIN=<page.in> -DOUT=<page> -DVERSION=<version> -DFORMATS=<formatlist program>
#         -P configure-page.cmake
# A sanitized build's program would report Qt's leftovers at exit as leaks.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
execute_process(COMMAND ${FORMATS} OUTPUT_VARIABLE OSKIVO_FORMATS RESULT_VARIABLE result
                ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR OSKIVO_FORMATS STREQUAL "")
    message(FATAL_ERROR "${FORMATS} listed no image formats (${result}): ${errors}")
endif()
set(PROJECT_VERSION ${VERSION})
configure_file(${IN} ${OUT} @ONLY)
