#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSoundEffect;

// Plays a switch sound by its designed name ("/whip.wav"). Injected into the
// model so that tests can record what was asked for and when.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& name) = 0;
};

// The program's one sound channel: a new sound stops one still playing. The
// file is looked up beside the executable and opened afresh each time; a
// missing or unplayable file gives the system's default beep instead.
class SwitchSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    // folder: where the sounds are (normally the executable's folder);
    // beep: the fallback signal.
    SwitchSoundPlayer(QString folder, std::function<void()> beep, QObject* parent = nullptr);

    void play(const QString& name) override;

private:
    void onStatusChanged();

    QString m_folder;
    std::function<void()> m_beep;
    QSoundEffect* m_effect = nullptr;
};
