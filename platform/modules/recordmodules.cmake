# SPDX-License-Identifier: GPL-3.0-or-later
# Records the file name, size and SHA-256 of each module built with the
# program: as a source file compiled into the program, which loads nothing
# else, and as a list for the install tests ("<file> <size> <sha256>").
# Usage: cmake -DMODULES=<module file>,... -DSOURCE=<.cpp> -DLIST=<.txt> -P recordmodules.cmake
string(REPLACE "," ";" modules "${MODULES}")
set(code [=[
// Written by the build from the modules built with the program.
#include "platform/modules/modulerecord.h"

std::optional<ModuleRecord> builtModule(const QString& name) {
]=])
set(list "")
foreach(module IN LISTS modules)
    get_filename_component(file "${module}" NAME)
    get_filename_component(name "${module}" NAME_WLE)
    file(SIZE "${module}" size)
    file(SHA256 "${module}" sha256)
    string(APPEND code "    if (name == QLatin1String(\"${name}\")) {\n"
        "        return ModuleRecord{QStringLiteral(\"${file}\"), ${size},\n"
        "                            QByteArrayLiteral(\"${sha256}\")};\n"
        "    }\n")
    string(APPEND list "${file} ${size} ${sha256}\n")
endforeach()
string(APPEND code "    return std::nullopt;\n}\n")

# Rewritten only when changed, so that a module rebuilt alike rebuilds
# nothing else.
function(write_if_changed path content)
    file(WRITE "${path}.new" "${content}")
    file(COPY_FILE "${path}.new" "${path}" ONLY_IF_DIFFERENT)
    file(REMOVE "${path}.new")
endfunction()
write_if_changed("${SOURCE}" "${code}")
write_if_changed("${LIST}" "${list}")
