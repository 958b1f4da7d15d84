# Compiles the Windows resource script with the MinGW resource compiler, then reads the result
# back: the icon group must hold the 13 images of image/logo.ico and the version record the
# product's fields with the project's version. Run as a test with
#   cmake -DRC=<oskivo.rc> -DVERSION=<a.b.c.d> -DOUT=<scratch dir> -DCPP=<C or C++ compiler>
#         -P check-rc.cmake
# It prints "SKIP:" and stops when the resource compiler is not installed.

if(NOT VERSION)
    message(FATAL_ERROR "check-rc.cmake needs -DVERSION=<the project's version>")
endif()

find_program(WINDRES NAMES x86_64-w64-mingw32-windres)
if(NOT WINDRES)
    message("SKIP: x86_64-w64-mingw32-windres is not installed")
    return()
endif()
find_program(OBJDUMP NAMES x86_64-w64-mingw32-objdump)

# windres preprocesses with the MinGW C compiler; without one, the host compiler does as well,
# since the script includes no Windows headers.
set(preprocess)
find_program(MINGW_GCC NAMES x86_64-w64-mingw32-gcc)
if(NOT MINGW_GCC)
    if(NOT CPP)
        message("SKIP: no C preprocessor for windres")
        return()
    endif()
    set(preprocess --preprocessor=${CPP} --preprocessor-arg=-E --preprocessor-arg=-xc
                   --preprocessor-arg=-DRC_INVOKED)
endif()

file(MAKE_DIRECTORY ${OUT})
foreach(kind IN ITEMS res coff)
    execute_process(
        COMMAND ${WINDRES} ${preprocess} -i ${RC} -o ${OUT}/oskivo.${kind} -O ${kind}
        RESULT_VARIABLE result ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "windres -O ${kind} failed (${result}):\n${errors}")
    endif()
endforeach()

# windres turns a compiled .res back into script text, which states what it holds.
execute_process(
    COMMAND ${WINDRES} -i ${OUT}/oskivo.res -O rc
    RESULT_VARIABLE result OUTPUT_VARIABLE decompiled ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "windres could not read back its .res (${result}):\n${errors}")
endif()

set(failures)
macro(expect pattern what)
    string(FIND "${decompiled}" "${pattern}" at)
    if(at EQUAL -1)
        list(APPEND failures "${what}: no \"${pattern}\"")
    endif()
endmacro()

expect("\"IDI_ICON1\" 14" "icon group named IDI_ICON1")
expect("Has 13 elements" "13 images in the icon group")
# The numeric versions have four parts, missing ones 0.
string(REPLACE "." ";" version_parts "${VERSION}")
list(APPEND version_parts 0 0 0 0)
list(SUBLIST version_parts 0 4 version_parts)
list(JOIN version_parts ", " numeric_version)
expect("FILEVERSION ${numeric_version}" "numeric file version")
expect("PRODUCTVERSION ${numeric_version}" "numeric product version")
expect("BLOCK \"040904B0\"" "US English Unicode string block")
expect("VALUE \"Translation\", 0x409, 1200" "translation")
foreach(field IN ITEMS
        "\"CompanyName\", \"QuelvaneLabs\""
        "\"FileDescription\", \"\""
        "\"FileVersion\", \"${VERSION}\""
        "\"InternalName\", \"\""
        "\"LegalCopyright\", \"Copyright (C) QuelvaneLabs\""
        "\"LegalTrademarks\", \"\""
        "\"OriginalFilename\", \"Oskivo.exe\""
        "\"ProductName\", \"Oskivo\""
        "\"ProductVersion\", \"${VERSION}\""
        "\"Comments\", \"\"")
    expect("VALUE ${field}" "string field")
endforeach()

# Each group element reads "width height colours pad", planes, bits; sizes are octal escapes
# and 256 is written as 0.
string(REGEX MATCHALL "\"\\\\[0-7]+\\\\[0-7]+\\\\[0-7]+\\\\000\", 1, [0-9]+," elements
       "${decompiled}")
set(images)
foreach(element IN LISTS elements)
    string(REGEX REPLACE "^\"\\\\([0-7]+)\\\\[0-7]+\\\\[0-7]+\\\\000\", 1, ([0-9]+),$" "\\1/\\2"
           image "${element}")
    list(APPEND images ${image})
endforeach()
list(SORT images)
# 16, 20, 24, 32, 40, 48, 64 and 256 pixels in octal: 020 024 030 040 050 060 100 000.
set(expected_images 000/32 020/32 020/4 020/8 024/32 030/32 040/32 040/4 040/8 050/32 060/32
                    060/8 100/32)
if(NOT images STREQUAL expected_images)
    list(APPEND failures "icon images (octal size/bits): got \"${images}\"")
endif()

if(OBJDUMP)
    execute_process(COMMAND ${OBJDUMP} -h ${OUT}/oskivo.coff
                    RESULT_VARIABLE result OUTPUT_VARIABLE sections)
    if(NOT result EQUAL 0 OR NOT sections MATCHES "pe-x86-64" OR NOT sections MATCHES "\\.rsrc")
        list(APPEND failures "the COFF object has no .rsrc section for x86-64:\n${sections}")
    endif()
endif()

if(failures)
    list(JOIN failures "\n" report)
    message(FATAL_ERROR "${report}\n\nwindres read back:\n${decompiled}")
endif()
message("windres compiled ${RC}: icon group of 13 images and the version record as expected")
