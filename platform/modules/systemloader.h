// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFile;

// The system's own loader, for ProgramModule. The module stays open from
// its check to its load, so that the file checked is the file loaded: a copy
// put in its place meanwhile (an update, a user's drag and drop) is never
// loaded unchecked. QLibrary is not used because it tries other names first
// (a "haswell/" folder beside the module on such processors), files nobody
// checked.
namespace systemloader {

// Opens the module at path for reading, held as well as the system allows
// until it is loaded. Why it could not be opened; empty when it is open.
QString openHeld(QFile& file, const QString& path);

// Loads the module open in file; nullptr with error set when the system
// refuses it.
void* load(QFile& file, const QString& path, QString& error);

// The named entry of a loaded module, or nullptr.
QFunctionPointer find(void* module, const char* entry);

} // namespace systemloader
