# The program as one script with its WebAssembly inside (a page with a separate
# .wasm does not start from file://), for the browser alone, with no file
# system and no evaluation of text as code. The WebAssembly is compiled at once
# from the script: compiled the other way, it would be fetched from its data:
# URL, which the page's policy refuses.
target_link_options(velbrin PRIVATE -sSINGLE_FILE -sWASM_ASYNC_COMPILATION=0
                    -sENVIRONMENT=web -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
                    -sALLOW_MEMORY_GROWTH -sMALLOC=emmalloc)

# And that script in the program's one page, velbrin.html, which fetches nothing.
set(page ${CMAKE_CURRENT_BINARY_DIR}/velbrin.html)
add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/velbrin.html.in
            -DSTYLE=${VELBRIN_WEB_STYLE} -DSCRIPT=$<TARGET_FILE:velbrin>
            -DICON=${CMAKE_CURRENT_SOURCE_DIR}/icon/velbrin.png
            -DSVG=${CMAKE_CURRENT_SOURCE_DIR}/icon/velbrin.svg -DTITLE=${VELBRIN_TITLE}
            -DDESCRIPTION=${PROJECT_DESCRIPTION}
            -DPAGE=${page} -P ${CMAKE_CURRENT_SOURCE_DIR}/make_page.cmake
    DEPENDS velbrin velbrin.html.in make_page.cmake icon/velbrin.png icon/velbrin.svg
            ${VELBRIN_WEB_STYLE}
    VERBATIM)
add_custom_target(velbrin_page ALL DEPENDS ${page})
