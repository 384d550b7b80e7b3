#pragma once

#include "platform/desktop.h"

#include <memory>

class QLockFile;
class QObject;

namespace platform {

// The real desktop: Qt's own dialogs, message boxes, clipboard and browser
// start. While it lives, a text box's paste key waits on no clipboard owner
// longer than the clipboard's own reads do.
class QtDesktop final : public Desktop {
public:
    QtDesktop();
    ~QtDesktop() override;

    bool showColor(QWidget *owner, CommonDialog &dialog) override;
    bool showFont(QWidget *owner, CommonDialog &dialog) override;
    bool showOpen(QWidget *owner, CommonDialog &dialog) override;
    bool showSave(QWidget *owner, CommonDialog &dialog) override;
    void messageBox(QWidget *owner, const QString &text, const QString &title, MessageIcon icon) override;
    void beep() override;
    void setClipboardText(const QString &text) override;
    bool clipboardOffersText() override;
    QString clipboardText() override;
    void openAddress(const QString &address) override;
    bool earlierInstanceRunning() override;
    // In qtscreen.cpp.
    bool canReadScreen() override;
    QList<QRect> screenAreas() override;
    QImage grabScreen(const QRect &area) override;
    QPoint pointerPosition() override;
    void warpPointer(const QPoint &devicePixel) override;
    void pickColorFromDesktop(QWidget *owner, std::function<void(PickAnswer, QRgb)> done) override;

private:
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QObject> m_pasteGuard;
};

// Where the single-instance lock lives: the user's runtime folder, or the
// temporary folder where there is none.
QString instanceLockPath();

} // namespace platform
