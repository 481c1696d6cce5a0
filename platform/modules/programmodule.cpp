// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modules/programmodule.h"

#include "platform/modules/systemloader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    if (const QString error = systemloader::openHeld(file, m_path); !error.isEmpty()) {
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
        m_handle = systemloader::load(file, m_path, m_error);
        if (!m_handle) {
            m_fault = Fault::unloadable;
            m_error = QStringLiteral("%1 cannot be loaded: %2").arg(m_path, m_error);
            return nullptr;
        }
    }
    QFunctionPointer function = systemloader::find(m_handle, entry);
    m_fault = function ? Fault::none : Fault::unloadable;
    m_error =
        function
            ? QString()
            : QStringLiteral("%1 has no entry point %2").arg(m_path, QString::fromLatin1(entry));
    return function;
}
