#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <functional>

class QWidget;

namespace platform {

class CommonDialog;

enum class MessageIcon { None, Critical, Question, Exclamation, Information };

// A run-time error as the start-up error report shows it.
struct RuntimeError {
    int number = 0;
    QString description;
};

// The one seam between the program and the desktop. Everything modal and
// everything that leaves the process goes through here, so tests can script it.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Each returns false when the user cancels (or the dialog fails) and
    // leaves the dialog's properties holding the choice otherwise.
    virtual bool showColor(QWidget *owner, CommonDialog &dialog) = 0;
    virtual bool showFont(QWidget *owner, CommonDialog &dialog) = 0;
    virtual bool showOpen(QWidget *owner, CommonDialog &dialog) = 0;
    virtual bool showSave(QWidget *owner, CommonDialog &dialog) = 0;

    // A box with a single OK button; an empty title shows the program's title.
    virtual void messageBox(QWidget *owner, const QString &text, const QString &title, MessageIcon icon) = 0;
    virtual void beep() = 0;
    // Replaces whatever the clipboard holds with plain text.
    virtual void setClipboardText(const QString &text) = 0;
    // Whether the clipboard offers plain text, judged from its formats alone.
    virtual bool clipboardOffersText() = 0;
    // The clipboard's plain text; empty when it holds none. Either asks an
    // owner that may never answer, so both are bounded in time.
    virtual QString clipboardText() = 0;
    virtual void openAddress(const QString &address) = 0;
    // True when an earlier copy of the program is running. May throw RuntimeError.
    virtual bool earlierInstanceRunning() = 0;

    // Taking a color off the screen. Places are device pixels of the whole
    // desktop (the X root), so a pick names one pixel at any scale.
    // False where a program may not read the screen (Wayland): there only
    // the desktop's own color picker can.
    // A desktop that says nothing of its screen lets none be read.
    virtual bool canReadScreen() { return false; }
    // The screens, each as the device pixels it covers.
    virtual QList<QRect> screenAreas() { return {}; }
    // The pixels of `area`; those on no screen are black.
    virtual QImage grabScreen(const QRect &area);
    virtual QPoint pointerPosition() { return {}; }
    virtual void warpPointer(const QPoint &) {}
    enum class PickAnswer { Picked, Cancelled, Unavailable };
    // Asks the desktop's color picker; `done` hears the answer later, never
    // before this returns.
    virtual void pickColorFromDesktop(QWidget *owner, std::function<void(PickAnswer, QRgb)> done);
};

// The desktop in use; the program installs the Qt one, tests a scripted one.
Desktop &desktop();
void setDesktop(Desktop *desktop);

} // namespace platform
