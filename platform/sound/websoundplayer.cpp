// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/websoundplayer.h"

#include "platform/sound/wavefile.h"

#include <emscripten.h>

namespace {

// The page's one audio channel. Opening the browser's audio blocks the page
// for a while the first time, so it is opened once the window is on the
// screen, not on the first switch (nor before the first paint). The
// browser keeps it silent until the user's first click; the first switch is
// one.
// clang-format off
EM_JS(void, vl_sound_open, (), {
    const channel = Module.vlSound = {context: null, playing: null, asked: 0, opened: false};
    channel.open = () => {
        if (!channel.opened) {
            channel.opened = true;
            const Context = window.AudioContext || window.webkitAudioContext;
            channel.context = Context ? new Context() : null;
        }
    };
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(channel.open)));
});
// clang-format on

// The browser decodes asynchronously, so a sound asked for later wins over
// one still being decoded. Each step is written to the console
// ("virtalab-sound: <name> <what>"), which is how a test sees what reached
// the browser's audio.
// clang-format off
EM_JS(void, vl_sound, (const char* name, const unsigned char* data, int size), {
    const label = UTF8ToString(name);
    const channel = Module.vlSound;
    const say = (what) => console.info("virtalab-sound: " + label + " " + what);
    channel.open();
    const context = channel.context;
    say("asked for");
    if (!context) {
        say("not played: no audio in this browser");
        return;
    }
    if (context.state === "suspended") {
        context.resume();
    }
    const asked = ++channel.asked;
    if (channel.playing) {
        channel.playing.stopped = true;
        channel.playing.stop();
        channel.playing = null;
    }
    const start = (node, what) => {
        node.onended = () => {
            say(node.stopped ? "stopped" : "ended");
            if (channel.playing === node) {
                channel.playing = null;
            }
        };
        node.connect(context.destination);
        node.start();
        channel.playing = node;
        say(what + ", audio " + context.state);
    };
    const beep = (why) => {
        const tone = context.createOscillator();
        tone.frequency.value = 880;
        start(tone, "beep (" + why + ")");
        tone.stop(context.currentTime + 0.15);
    };
    if (size === 0) {
        beep("not a playable WAV file");
        return;
    }
    const bytes = HEAPU8.slice(data, data + size).buffer;
    context.decodeAudioData(bytes).then(
        (buffer) => {
            if (asked !== channel.asked) {
                say("not played: a newer sound was asked for meanwhile");
                return;
            }
            const source = context.createBufferSource();
            source.buffer = buffer;
            start(source, "playing " + size + " bytes, " + buffer.duration.toFixed(3) + " s");
        },
        () => {
            if (asked === channel.asked) {
                beep("the browser cannot decode it");
            }
        });
});
// clang-format on

} // namespace

WebSoundPlayer::WebSoundPlayer(QString folder) : m_folder(std::move(folder)) {
    vl_sound_open();
}

void WebSoundPlayer::play(const QString& name) {
    // The browser's own decoder plays them, not Qt's reader, so the broader
    // check holds; a layout it still cannot decode gets the beep.
    const QByteArray sound = readPlayableWave(m_folder + name, WavePlayer::Windows);
    vl_sound(name.toUtf8().constData(), reinterpret_cast<const unsigned char*>(sound.constData()),
             int(sound.size()));
}
