# Adds NAME_PLATFORM.cpp, from the calling folder, to TARGET; and NAME_PLATFORM.js,
# where there is one, as a JavaScript library of the program it goes into.
function(velbrin_platform_sources target name platform)
    target_sources(${target} PRIVATE ${name}_${platform}.cpp)
    set(script ${CMAKE_CURRENT_SOURCE_DIR}/${name}_${platform}.js)
    if(EXISTS ${script})
        target_sources(${target} PRIVATE ${script})
        target_link_options(${target} INTERFACE "SHELL:--js-library \"${script}\"")
        set_property(TARGET ${target} APPEND PROPERTY INTERFACE_LINK_DEPENDS ${script})
    endif()
endfunction()
