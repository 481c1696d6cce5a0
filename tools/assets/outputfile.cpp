// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/outputfile.h"

#include <QFile>
#include <stdexcept>

void writeOutputFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
}
