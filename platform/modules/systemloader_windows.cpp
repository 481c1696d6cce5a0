// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/systemloader.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace systemloader {

// Writing, renaming and deleting are shut out until the module is loaded.
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

} // namespace systemloader
