#pragma once

#include <QByteArray>

// Whether data is a complete RIFF WAVE file that the sound service can play:
// 8, 16, 24 or 32-bit integer samples, the format chunk before the sample chunk,
// every chunk of even size and wholly inside the data.
// Qt's sample cache waits forever for the rest of a file cut short inside
// its chunks, and the next sound then hangs the program, so only files that
// pass this check are handed to it.
bool isPlayableWave(const QByteArray& data);
