// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programmodule.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// The system's own loader, given the exact file that was checked. QLibrary
// tries other names first (a "haswell/" folder beside the module on such
// processors), and would load a file nobody checked.
#ifdef Q_OS_WIN
void* load(const QString& path, QString& error) {
    HMODULE module =
        LoadLibraryExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), nullptr,
                       LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        error = qt_error_string(int(GetLastError()));
    }
    return module;
}

QFunctionPointer find(void* module, const char* entry) {
    return reinterpret_cast<QFunctionPointer>(GetProcAddress(HMODULE(module), entry));
}
#else
void* load(const QString& path, QString& error) {
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        error = QString::fromLocal8Bit(dlerror());
    }
    return module;
}

QFunctionPointer find(void* module, const char* entry) {
    return reinterpret_cast<QFunctionPointer>(dlsym(module, entry));
}
#endif

} // namespace

ProgramModule::ProgramModule(const QString& folder, const QString& name)
    : m_name(name), m_record(builtModule(name)),
      m_path(m_record ? QDir(folder).filePath(m_record->fileName) : QString()) {}

// Why the file beside the program is not the module built with it; empty
// when it is.
QString ProgramModule::differenceFromBuilt() const {
    if (!m_record) {
        return QStringLiteral("%1 is not one of the program's modules").arg(m_name);
    }
    QFile file(m_path);
    if (!QFileInfo(file).isFile()) {
        return QStringLiteral("%1 is missing").arg(m_path);
    }
    if (file.size() != m_record->size) {
        return QStringLiteral("%1 is %2 bytes long; the program was built with %3 bytes")
            .arg(m_path)
            .arg(file.size())
            .arg(m_record->size);
    }
    QCryptographicHash sha256(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !sha256.addData(&file)) {
        return QStringLiteral("%1 cannot be read: %2").arg(m_path, file.errorString());
    }
    if (sha256.result().toHex() != m_record->sha256) {
        return QStringLiteral("%1 is not the module the program was built with: its SHA-256 "
                              "differs")
            .arg(m_path);
    }
    return {};
}

QFunctionPointer ProgramModule::resolve(const char* entry) {
    if (!m_handle) {
        m_error = differenceFromBuilt();
        if (!m_error.isEmpty()) {
            return nullptr;
        }
        m_handle = load(m_path, m_error);
        if (!m_handle) {
            return nullptr;
        }
    }
    QFunctionPointer function = find(m_handle, entry);
    m_error =
        function
            ? QString()
            : QStringLiteral("%1 has no entry point %2").arg(m_path, QString::fromLatin1(entry));
    return function;
}
