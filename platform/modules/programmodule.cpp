// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programmodule.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The module stays open from its check to its load, so that the file
// checked is the file loaded: a copy put in its place meanwhile (an update,
// a user's drag and drop) is never loaded unchecked. The system's own loader
// is used because QLibrary tries other names first (a "haswell/" folder
// beside the module on such processors), files nobody checked.
#ifdef Q_OS_WIN
// Open with writing, renaming and deleting shut out until it is loaded.
// Why it could not be opened; empty when it is open.
QString openHeld(QFile& file, const QString& path) {
    const HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), GENERIC_READ,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return qt_error_string(int(GetLastError()));
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (descriptor == -1) {
        CloseHandle(handle);
        return qt_error_string(errno);
    }
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(descriptor);
        return file.errorString();
    }
    return {};
}

void* load(QFile&, const QString& path, QString& error) {
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
QString openHeld(QFile& file, const QString&) {
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
}

// The loader is handed the open file itself, whatever has become of its
// name. The loader then knows the module by its descriptor's name, even when
// it was already loaded under another, so that descriptor stays open for the
// program's life: a number freed could later name another module, and the
// loader would take that for this one.
void* load(QFile& file, const QString& path, QString& error) {
    const int held = fcntl(file.handle(), F_DUPFD_CLOEXEC, 0);
    const QString name = QStringLiteral("/proc/self/fd/%1").arg(held);
    // Without /proc (a bare chroot) only the file's name is left.
    const bool byDescriptor = held != -1 && QFileInfo::exists(name);
    void* module =
        dlopen(QFile::encodeName(byDescriptor ? name : path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        error = QString::fromLocal8Bit(dlerror());
    }
    if ((!module || !byDescriptor) && held != -1) {
        close(held);
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

// Why the open file is not the module built with it, with the fault noted;
// empty when it is.
QString ProgramModule::differenceFromBuilt(QFile& file) {
    if (!m_record) {
        m_fault = Fault::unloadable;
        return QStringLiteral("%1 is not one of the program's modules").arg(m_name);
    }
    if (!QFileInfo(m_path).isFile()) {
        m_fault = Fault::missing;
        return QStringLiteral("%1 is missing").arg(m_path);
    }
    m_fault = Fault::unreadable;
    if (const QString error = openHeld(file, m_path); !error.isEmpty()) {
        return QStringLiteral("%1 cannot be read: %2").arg(m_path, error);
    }
    m_fault = Fault::different;
    if (file.size() != m_record->size) {
        return QStringLiteral("%1 is %2 bytes long; the program was built with %3 bytes")
            .arg(m_path)
            .arg(file.size())
            .arg(m_record->size);
    }
    QCryptographicHash sha256(QCryptographicHash::Sha256);
    if (!sha256.addData(&file)) {
        m_fault = Fault::unreadable;
        return QStringLiteral("%1 cannot be read: %2").arg(m_path, file.errorString());
    }
    if (sha256.result().toHex() != m_record->sha256) {
        return QStringLiteral("%1 is not the module the program was built with: its SHA-256 "
                              "differs")
            .arg(m_path);
    }
    m_fault = Fault::none;
    return {};
}

QFunctionPointer ProgramModule::resolve(const char* entry) {
    if (!m_handle) {
        QFile file(m_path);
        m_error = differenceFromBuilt(file);
        if (!m_error.isEmpty()) {
            return nullptr;
        }
        m_handle = load(file, m_path, m_error);
        if (!m_handle) {
            m_fault = Fault::unloadable;
            m_error = QStringLiteral("%1 cannot be loaded: %2").arg(m_path, m_error);
            return nullptr;
        }
    }
    QFunctionPointer function = find(m_handle, entry);
    m_fault = function ? Fault::none : Fault::unloadable;
    m_error =
        function
            ? QString()
            : QStringLiteral("%1 has no entry point %2").arg(m_path, QString::fromLatin1(entry));
    return function;
}
