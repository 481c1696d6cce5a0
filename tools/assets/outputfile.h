// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file at once; a failure ends the generator with a message.
void writeOutputFile(const QString& path, const QByteArray& bytes);
