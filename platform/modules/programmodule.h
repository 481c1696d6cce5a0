// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/modules/modulerecord.h"

#include <QFile>
#include <QString>
#include <optional>

// One of the program's own shared libraries, kept beside the executable and
// loaded on first use. Printing and sound pull in large Qt libraries that a
// lesson needs late or never; left out of start-up, they no longer delay the
// window or swell its memory.
class ProgramModule {
public:
    // folder: where the module lies; name: its file name without the
    // platform's suffix ("virtalab-print").
    ProgramModule(const QString& folder, const QString& name);

    // What kept the module from use, for the user; error() gives the detail.
    enum class Fault {
        none,
        missing,    // not in the folder
        unreadable, // there but cannot be read
        different,  // not byte for byte the module built with the program
        unloadable, // refused by the system's loader, or without the entry
    };

    // The named entry point, loading the module on the first call; nullptr
    // when the module is not the one built with the program or the entry is
    // missing, with fault() and error() saying why. A module once loaded
    // stays loaded.
    QFunctionPointer resolve(const char* entry);
    Fault fault() const { return m_fault; }
    QString error() const { return m_error; }

private:
    QString differenceFromBuilt(QFile& file);

    QString m_name;
    std::optional<ModuleRecord> m_record;
    QString m_path;
    void* m_handle = nullptr;
    Fault m_fault = Fault::none;
    QString m_error;
};
