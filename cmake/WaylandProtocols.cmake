# Generates client code for Wayland protocol descriptions with wayland-scanner.
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

# pictavo_wayland_protocols(TARGET xml...): a library of the generated code and headers.
function(pictavo_wayland_protocols target)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/protocols)
    file(MAKE_DIRECTORY ${dir})
    set(files)
    foreach(xml ${ARGN})
        get_filename_component(name ${xml} NAME_WE)
        set(header ${dir}/${name}-client-protocol.h)
        set(code ${dir}/${name}-protocol.c)
        add_custom_command(OUTPUT ${header} ${code}
            COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
            COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
            DEPENDS ${xml} VERBATIM)
        list(APPEND files ${header} ${code})
    endforeach()
    add_library(${target} STATIC ${files})
    target_include_directories(${target} PUBLIC ${dir})
    target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
