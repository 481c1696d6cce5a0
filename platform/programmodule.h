#pragma once

#include <QLibrary>
#include <QString>

// One of the program's own shared libraries, kept beside the executable and
// loaded on first use. Printing and sound pull in large Qt libraries that a
// lesson needs late or never; left out of start-up, they no longer delay the
// window or swell its memory.
class ProgramModule {
public:
    // folder: where the module lies; name: its file name without the
    // platform's prefix and suffix ("virtalab-print").
    ProgramModule(const QString& folder, const QString& name);

    // The named entry point, loading the module on the first call; nullptr
    // when the module or the entry is missing, with error() saying why.
    QFunctionPointer resolve(const char* entry);
    QString error() const { return m_error; }

private:
    QLibrary m_library;
    QString m_error;
};
