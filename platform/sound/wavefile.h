// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The player a switch sound is handed to; each reads WAV files its own way.
enum class WavePlayer {
    // Qt Multimedia's sample cache and audio output (Linux).
    Qt,
    // Windows' own player, sndPlaySound (winmm).
    Windows,
};

// Whether data is a RIFF WAVE file that the player plays to the end.
//
// Qt: 8, 16, 24 or 32-bit integer samples at a rate its output can take, a
// block size that is one sample for each channel, and whole blocks of
// samples. The cache waits for ever for a sample its reader cannot finish,
// and the next sound then hangs the program, so only files that pass this
// check are handed to it. The rules follow Qt Multimedia's reader: it wants
// the format chunk before the sample chunk, skips any other chunk in one
// read of at most 16 KB, and reads whole samples only. The pad byte after an
// odd-sized chunk it skips with the chunk from Qt 6.8 on; Qt 6.4 leaves it
// and loses its place.
//
// Windows: a sound RIFF structure (every chunk inside the file, pad bytes
// after odd-sized chunks, chunks of any size), the first format chunk
// followed by a sample chunk of at least one block, in a format the system
// plays: integer samples of 8, 16, 24 or 32 bits, 32-bit IEEE float, either
// also as WAVE_FORMAT_EXTENSIBLE, or one of the codecs Windows ships (IMA and
// Microsoft ADPCM, A-law, µ-law). A file it cannot play would give the
// system's default sound with no word to the program.
bool isPlayableWave(const QByteArray& data, WavePlayer player);

// The contents of the file at path when it is a file of at most 16 MB, far
// more than any switch sound, that the player plays; empty otherwise. A
// larger file is not read at all.
QByteArray readPlayableWave(const QString& path, WavePlayer player);
