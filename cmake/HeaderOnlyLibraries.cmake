# CLI11 comes from Debian's header-only package libcli11-dev, installed under /usr/include.
# The Windows cross builds must not search /usr/include (it holds glibc's headers), so each
# library's own header folder is linked into
# a folder of the build tree and only that folder goes on the include path, native and cross.
set(header_only_dir ${CMAKE_BINARY_DIR}/header-only)

# header_only_library(TARGET FOLDER PACKAGE): TARGET gives access to /usr/include/FOLDER.
function(header_only_library target folder package)
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: install the Debian package ${package} "
                            "(scripts/install-deps.sh does)")
    endif()
    file(MAKE_DIRECTORY ${header_only_dir})
    if(NOT EXISTS ${header_only_dir}/${folder})
        file(CREATE_LINK /usr/include/${folder} ${header_only_dir}/${folder} SYMBOLIC)
    endif()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${header_only_dir})
endfunction()

header_only_library(cli11 CLI libcli11-dev)
