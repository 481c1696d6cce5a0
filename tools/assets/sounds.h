// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The switch sounds, synthesised as 16-bit mono PCM WAV files.
QByteArray whipSound();           // the oscilloscope's power switch
QByteArray slideSwitchOnSound();  // the generator switched on
QByteArray slideSwitchOffSound(); // the generator switched off
