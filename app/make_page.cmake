# The program's page: its template with the windows' style sheet, the program's
# script, the icon and the web app manifest put in, under a content security
# policy that lets in the first two by their digests, the icon and the manifest
# (both data: URLs, the only kind the page holds), and nothing else.
#
# cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DICON=... -DSVG=... -DTITLE=...
#       -DDESCRIPTION=... -DPAGE=... -P make_page.cmake

function(base64_of_hex hex result)
    set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    string(LENGTH "${hex}" length)
    set(text "")
    foreach(at RANGE 0 ${length} 6)
        if(at EQUAL length)
            break()
        endif()
        string(SUBSTRING "${hex}" ${at} 6 group)
        string(LENGTH "${group}" digits)
        string(SUBSTRING "${group}00000" 0 6 group)
        math(EXPR value "0x${group}")
        math(EXPR kept "${digits} / 2 + 1") # characters that carry bits
        foreach(shift 18 12 6 0)
            if(kept GREATER 0)
                math(EXPR index "(${value} >> ${shift}) & 63")
                string(SUBSTRING "${alphabet}" ${index} 1 char)
                string(APPEND text "${char}")
            else()
                string(APPEND text "=")
            endif()
            math(EXPR kept "${kept} - 1")
        endforeach()
    endforeach()
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

function(digest text result)
    string(SHA256 hex "${text}")
    base64_of_hex(${hex} base64)
    set(${result} "'sha256-${base64}'" PARENT_SCOPE)
endfunction()

file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
file(READ "${SCRIPT}" script)
file(READ "${ICON}" icon HEX)
# The script ends where the page reads "</script", and "<!--" would change how
# the rest is read: neither may occur in it.
string(TOLOWER "${script}" lower)
foreach(breaking "</script" "<!--")
    string(FIND "${lower}" "${breaking}" found)
    if(NOT found EQUAL -1)
        message(FATAL_ERROR "${SCRIPT} holds ${breaking} and cannot go into a page")
    endif()
endforeach()

base64_of_hex(${icon} icon)
set(title "${TITLE}")
set(description "${DESCRIPTION}")
# The icon a phone shows for the installed page: the drawing, which scales to any
# size, offered for the sizes an app icon must have; an installed page's bars take
# the colour of its ground.
file(READ "${SVG}" drawing)
if(NOT drawing MATCHES "<rect [^>]*fill=\"(#[0-9a-fA-F]+)\"")
    message(FATAL_ERROR "${SVG} has no ground to take the page's colour from")
endif()
set(theme "${CMAKE_MATCH_1}")
file(READ "${SVG}" svg HEX)
base64_of_hex(${svg} svg)
string(JOIN "" manifest "{\"name\":\"${TITLE}\",\"short_name\":\"${TITLE}\","
       "\"description\":\"${DESCRIPTION}\",\"display\":\"standalone\","
       "\"theme_color\":\"${theme}\",\"background_color\":\"#ffffff\",\"icons\":[{"
       "\"src\":\"data:image/svg+xml;base64,${svg}\",\"sizes\":\"192x192 512x512\","
       "\"type\":\"image/svg+xml\"}]}")
digest("${style}" style_digest)
digest("${script}" script_digest)
# WebAssembly is compiled from the page's own script: 'wasm-unsafe-eval' allows
# that, and no other evaluation of text as code.
string(JOIN "; " policy "default-src 'none'" "script-src ${script_digest} 'wasm-unsafe-eval'"
       "style-src ${style_digest}" "img-src data:" "connect-src 'none'" "frame-src 'none'"
       "child-src 'none'" "worker-src 'none'" "object-src 'none'" "form-action 'none'"
       "base-uri 'none'" "manifest-src data:")

# The script goes in last, so that nothing in it is taken for a placeholder.
foreach(name POLICY TITLE DESCRIPTION THEME ICON MANIFEST STYLE SCRIPT)
    string(TOLOWER ${name} variable)
    string(REPLACE "@${name}@" "${${variable}}" page "${page}")
endforeach()
file(WRITE "${PAGE}" "${page}")
