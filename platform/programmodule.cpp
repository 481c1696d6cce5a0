#include "platform/programmodule.h"

#include <QDir>

ProgramModule::ProgramModule(const QString& folder, const QString& name)
    : m_library(QDir(folder).filePath(name)) {}

QFunctionPointer ProgramModule::resolve(const char* entry) {
    if (!m_library.isLoaded() && !m_library.load()) {
        m_error = m_library.errorString();
        return nullptr;
    }
    QFunctionPointer function = m_library.resolve(entry);
    // Qt leaves no useful message for a missing symbol.
    m_error = function ? QString()
                       : QStringLiteral("%1 has no entry point %2")
                             .arg(m_library.fileName(), QString::fromLatin1(entry));
    return function;
}
