#pragma once

#include "platform/commondialog.h"
#include "platform/desktop.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace platform {

// A desktop for tests and benchmarks: dialogs answer from a script, and every
// prompt, message, beep, clipboard write and opened address is recorded.
// A dialog that was not scripted is cancelled and recorded as unscripted, so
// a test fails on it instead of blocking.
class ScriptedDesktop final : public Desktop {
public:
    enum class Kind { Color, Font, Open, Save };

    // What a dialog was asked with: a copy of its properties when it opened.
    struct Prompt {
        Kind kind;
        QString dialogName;
        bool cancelError;
        int flags;
        qint32 color;
        QString fontName;
        float fontSize;
        bool fontBold, fontItalic, fontUnderline, fontStrikethru;
        QString fileName, filter, dialogTitle, defaultExt;
    };
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };
    struct FontChoice {
        QString name;
        float size = 8.0F;
        bool bold = false, italic = false, underline = false, strikethru = false;
    };
    using Answer = std::function<bool(CommonDialog &)>;

    ScriptedDesktop();
    ~ScriptedDesktop() override;

    // Scripting: each call queues the answer to the next dialog of that kind.
    void script(Kind kind, Answer answer);
    void answerColor(qint32 packed);
    void answerFont(const FontChoice &font);
    void answerOpen(const QString &path);
    void answerSave(const QString &path);
    void cancel(Kind kind);

    // What happened.
    QList<Prompt> prompts;
    QList<Message> messages;
    QStringList unscripted;
    QStringList openedAddresses;
    int beeps = 0;
    QString clipboard;
    int clipboardWrites = 0;
    int clipboardReads = 0;
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }
    // Takes the recorded messages, leaving none behind.
    QList<Message> takeMessages();

    // The instance query.
    bool earlierInstance = false;
    std::optional<RuntimeError> instanceError;

    bool showColor(QWidget *owner, CommonDialog &dialog) override;
    bool showFont(QWidget *owner, CommonDialog &dialog) override;
    bool showOpen(QWidget *owner, CommonDialog &dialog) override;
    bool showSave(QWidget *owner, CommonDialog &dialog) override;
    void messageBox(QWidget *owner, const QString &text, const QString &title, MessageIcon icon) override;
    void beep() override;
    void setClipboardText(const QString &text) override;
    bool clipboardOffersText() override { return !clipboard.isEmpty(); }
    QString clipboardText() override;
    void openAddress(const QString &address) override;
    bool earlierInstanceRunning() override;

    // The screen: a picture of the whole desktop in device pixels, split
    // into `screens`; the pointer moves only where it is sent.
    bool screenReadable = true;
    QImage screen;
    QList<QRect> screens;
    QPoint pointer;
    int grabs = 0;
    QRect lastGrab;
    // The desktop's color picker answers from this queue; when it is empty
    // it is not there.
    std::deque<std::pair<PickAnswer, QRgb>> pickAnswers;
    int desktopPicks = 0;
    bool canReadScreen() override { return screenReadable; }
    QList<QRect> screenAreas() override { return screens; }
    QImage grabScreen(const QRect &area) override;
    QPoint pointerPosition() override { return pointer; }
    void warpPointer(const QPoint &devicePixel) override { pointer = devicePixel; }
    void pickColorFromDesktop(QWidget *owner, std::function<void(PickAnswer, QRgb)> done) override;

    // Called for every message box as it is shown (after it is recorded).
    std::function<void(const Message &)> onMessage;

private:
    bool run(Kind kind, CommonDialog &dialog);
    std::deque<std::pair<Kind, Answer>> m_answers;
};

QString kindName(ScriptedDesktop::Kind kind);

} // namespace platform
