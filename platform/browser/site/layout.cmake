# SPDX-License-Identifier: GPL-3.0-or-later
# Lays the browser's site out, on every build: the page a student opens,
# the offline copy's worker, the manifest and icons at the top; the
# program's own files in a folder named after its version, so that a page
# never runs a mix of two versions. The big files get precompressed copies
# beside them (Brotli and gzip) for servers that send them as they are.
# Usage: cmake -DSOURCE=<site sources> -DBUILD=<folder of virtalab.js/.wasm/.data>
#   -DQTLOADER=<qtloader.js> -DLOADER=<6.4|6.8> -DSITE=<site folder>
#   -DVERSION=<x.y.z.w> -DTITLE=<title> -DICON=<virtalab.ico> -P layout.cmake
cmake_minimum_required(VERSION 3.25)

# The program's window as it measures, menu bar included; it says its own
# size once shown, and the page fits that.
set(VIRTALAB_PANEL_WIDTH 594)
set(VIRTALAB_PANEL_HEIGHT 452)
# What differs with the loader of the Qt the program is built with. Qt 6.4's
# loader fetches the program's script and draws into a canvas of the page's;
# Qt 6.8's wants the script loaded and a container to make its own in.
# The page a student opens asks for the big files itself, before this page.
set(preload "<link rel=\"preload\" href=\"virtalab.data\" as=\"fetch\" crossorigin>")
if(LOADER VERSION_LESS 6.5)
    set(VIRTALAB_SCREEN "<canvas id=\"screen\" tabindex=\"0\" aria-label=\"Вирталаб\"></canvas>")
    set(VIRTALAB_SCRIPTS "")
    set(start "${SOURCE}/start-qt6.4.js")
else()
    set(VIRTALAB_SCREEN "<div id=\"screen\"></div>")
    set(VIRTALAB_SCRIPTS "<script src=\"virtalab.js\"></script>")
    set(start "${SOURCE}/start-qt6.8.js")
endif()
set(VIRTALAB_PRELOADS "${preload}")

set(VIRTALAB_SITE_VERSION "${VERSION}")
set(VIRTALAB_TITLE_HTML "${TITLE}")
set(program "${SITE}/${VERSION}")
file(MAKE_DIRECTORY "${program}")
# Another version's files, from an earlier build, are not this site's.
file(GLOB entries LIST_DIRECTORIES true "${SITE}/*")
foreach(entry IN LISTS entries)
    get_filename_component(name "${entry}" NAME)
    if(NOT entry STREQUAL program AND
       NOT name MATCHES "^(index\\.html|sw\\.js|manifest\\.webmanifest|icon-[0-9]+\\.png)$")
        file(REMOVE_RECURSE "${entry}")
    endif()
endforeach()

# Only what changed is written, so that servers and caches see no new files.
function(put source target)
    file(COPY_FILE "${source}" "${target}" ONLY_IF_DIFFERENT)
endfunction()
function(write target content)
    file(WRITE "${target}.new" "${content}")
    put("${target}.new" "${target}")
    file(REMOVE "${target}.new")
endfunction()
function(compressed file)
    foreach(kind IN ITEMS gz br)
        if(NOT EXISTS "${file}.${kind}" OR "${file}" IS_NEWER_THAN "${file}.${kind}")
            if(kind STREQUAL "gz")
                execute_process(COMMAND gzip -9 -n -k -f "${file}" COMMAND_ERROR_IS_FATAL ANY)
            else()
                execute_process(COMMAND brotli -q 11 -k -f "${file}" COMMAND_ERROR_IS_FATAL ANY)
            endif()
        endif()
    endforeach()
endfunction()

# The program's files, and what those that stream in weigh unpacked: the
# page shows the share downloaded.
foreach(name IN ITEMS virtalab.js virtalab.wasm virtalab.data)
    put("${BUILD}/${name}" "${program}/${name}")
    compressed("${program}/${name}")
endforeach()
put("${QTLOADER}" "${program}/qtloader.js")
put("${SOURCE}/panel.js" "${program}/panel.js")
put("${SOURCE}/access.js" "${program}/access.js")
put("${start}" "${program}/start.js")
file(SIZE "${BUILD}/virtalab.js" js_size)
file(SIZE "${BUILD}/virtalab.wasm" wasm_size)
if(LOADER VERSION_LESS 6.5)
    set(VIRTALAB_SITE_SIZES "{\"virtalab.js\": ${js_size}, \"virtalab.wasm\": ${wasm_size}}")
else()
    # The page loads the script itself, before the share can be counted.
    set(VIRTALAB_SITE_SIZES "{\"virtalab.wasm\": ${wasm_size}}")
endif()
configure_file("${SOURCE}/panel.html.in" "${program}/panel.html" @ONLY)
configure_file("${SOURCE}/index.html.in" "${SITE}/index.html" @ONLY)
configure_file("${SOURCE}/manifest.webmanifest.in" "${SITE}/manifest.webmanifest" @ONLY)

# The program's own icon, its 32-pixel image scaled without smoothing.
foreach(size IN ITEMS 32 192 512)
    set(png "${SITE}/icon-${size}.png")
    if(NOT EXISTS "${png}" OR "${ICON}" IS_NEWER_THAN "${png}")
        execute_process(
            COMMAND convert "${ICON}[0]" -filter point -resize ${size}x${size} -strip "${png}"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()

# The offline copy keeps every file of this version, named here.
file(GLOB_RECURSE files RELATIVE "${SITE}" "${SITE}/*")
list(FILTER files EXCLUDE REGEX "(^sw\\.js|\\.gz|\\.br)$")
list(FILTER files INCLUDE REGEX "^(${VERSION}/|[^/]+$)")
list(SORT files)
set(VIRTALAB_SITE_FILES "")
foreach(file IN LISTS files)
    string(APPEND VIRTALAB_SITE_FILES "  \"${file}\",\n")
endforeach()
configure_file("${SOURCE}/sw.js.in" "${SITE}/sw.js" @ONLY)
