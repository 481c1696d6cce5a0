// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the build recorded of one of the program's modules. Only the very
// file built with the program is loaded: a module cut short by an
// interrupted copy or a full disk crashes the system's loader.
struct ModuleRecord {
    QString fileName; // with the platform's suffix: "virtalab-print.so"
    qint64 size = 0;
    QByteArray sha256; // in hexadecimal
};

// The record of the named module ("virtalab-print"); none for a name the
// program was not built with. The build writes it (recordmodules.cmake).
std::optional<ModuleRecord> builtModule(const QString& name);
