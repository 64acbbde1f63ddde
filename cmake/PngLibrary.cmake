# libpng and zlib for the converter, as the target strindle_png. Native builds take Debian's
# libpng-dev. The Windows builds compile the same libraries from Debian's source packages,
# which scripts/fetch-png-sources.sh unpacks into STRINDLE_PNG_SOURCES: Debian ships no
# mingw-w64 build of libpng.
if(TARGET strindle_png)
    return()
endif()

if(NOT WIN32)
    find_package(PNG REQUIRED)
    add_library(strindle_png INTERFACE)
    target_link_libraries(strindle_png INTERFACE PNG::PNG)
    return()
endif()

set(STRINDLE_PNG_SOURCES "${CMAKE_SOURCE_DIR}/.deps/src" CACHE PATH
    "Folder holding the unpacked Debian source packages zlib and libpng1.6")
file(GLOB zlib_dir LIST_DIRECTORIES true "${STRINDLE_PNG_SOURCES}/zlib-*")
file(GLOB png_dir LIST_DIRECTORIES true "${STRINDLE_PNG_SOURCES}/libpng1.6-*")
if(NOT zlib_dir OR NOT png_dir)
    message(FATAL_ERROR "The zlib and libpng1.6 sources are not in ${STRINDLE_PNG_SOURCES}: "
                        "run scripts/fetch-png-sources.sh")
endif()

set(zlib_files adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees
               trees uncompr zutil)
list(TRANSFORM zlib_files PREPEND "${zlib_dir}/")
list(TRANSFORM zlib_files APPEND ".c")
add_library(strindle_zlib STATIC ${zlib_files})
target_include_directories(strindle_zlib PUBLIC ${zlib_dir})
target_compile_options(strindle_zlib PRIVATE -w)
# zlib's and libpng's files each define file-local names that clash in one unit.
set_target_properties(strindle_zlib PROPERTIES UNITY_BUILD OFF)

set(png_files png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio
              pngwrite pngwtran pngwutil)
list(TRANSFORM png_files PREPEND "${png_dir}/")
list(TRANSFORM png_files APPEND ".c")
# libpng's build makes pnglibconf.h from a prebuilt default, which suits us unchanged.
set(png_config_dir "${CMAKE_BINARY_DIR}/libpng-config")
configure_file("${png_dir}/scripts/pnglibconf.h.prebuilt" "${png_config_dir}/pnglibconf.h" COPYONLY)
add_library(strindle_png STATIC ${png_files})
target_include_directories(strindle_png PUBLIC ${png_dir} ${png_config_dir})
target_compile_definitions(strindle_png PRIVATE PNG_ARM_NEON_OPT=0 PNG_INTEL_SSE_OPT=0)
target_compile_options(strindle_png PRIVATE -w)
set_target_properties(strindle_png PROPERTIES UNITY_BUILD OFF)
target_link_libraries(strindle_png PUBLIC strindle_zlib)
