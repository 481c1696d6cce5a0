// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Whether data is a RIFF WAVE file that Qt's sample cache reads to the end
// and its audio output plays: 8, 16, 24 or 32-bit integer samples at a rate
// that output can take, a block size that is one sample for each channel,
// and whole blocks of samples.
// The cache waits for ever for a sample its reader cannot finish, and the
// next sound then hangs the program, so only files that pass this check are
// handed to it. The rules follow Qt Multimedia 6.4's reader: it wants the
// format chunk before the sample chunk, skips any other chunk in one read of
// at most 16 KB without its pad byte, and reads whole samples only.
bool isPlayableWave(const QByteArray& data);
