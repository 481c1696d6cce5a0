// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/modulesoundplayer.h"

#include "platform/sound/soundentry.h"

#include <QtGlobal>

ModuleSoundPlayer::ModuleSoundPlayer(const QString& folder, std::function<void()> beep)
    : m_folder(folder), m_beep(std::move(beep)),
      m_module(folder, QString::fromLatin1(modules::soundName)) {}

ModuleSoundPlayer::~ModuleSoundPlayer() = default;

void ModuleSoundPlayer::play(const QString& name) {
    // One attempt: a module that failed once is not looked for on every switch.
    if (!m_loadTried) {
        m_loadTried = true;
        const auto create =
            reinterpret_cast<modules::CreateSoundPlayer>(m_module.resolve(modules::soundEntry));
        if (create) {
            m_player.reset(create(m_folder, m_beep));
        } else {
            m_error = m_module.error();
            qWarning("Switch sounds unavailable, beeping instead: %s", qUtf8Printable(m_error));
        }
    }
    if (m_player) {
        m_player->play(name);
    } else {
        m_beep();
    }
}
