// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The five pictures the trace is taken from, each written as an enhanced
// metafile into the given path.
void writeSawtooth(const QString& path);
void writeSine(const QString& path);
void writeSquare(const QString& path);
void writeSpot(const QString& path);
void writeStroke(const QString& path);
