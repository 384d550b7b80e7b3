#pragma once

#include <QString>

#include <chrono>

namespace platform {

// The X11 CLIPBOARD asked over a connection of our own, with a deadline: Qt
// waits 5 s on each request to an owner that never answers, several times
// for one read of the text, with the window frozen.
struct X11Clipboard {
    enum class Answer {
        AskQt,    // not on X11, the owner is this process, or the text comes in parts
        Nothing,  // no owner, or one that offers no text
        Text,     // text offered; in `text` when it was asked for
        NoAnswer, // the owner did not answer in time
    };
    Answer answer = Answer::AskQt;
    QString text;
};

// Asks the owner for its formats, and for its text when `readText` is set,
// all within `wait`.
X11Clipboard askX11Clipboard(bool readText, std::chrono::milliseconds wait);

} // namespace platform
