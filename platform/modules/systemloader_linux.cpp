// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/systemloader.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace systemloader {

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

} // namespace systemloader
