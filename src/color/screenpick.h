#pragma once

#include "color/colortargets.h"

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QRgb>

class ColorEditor;
class Magnifier;
class QMenu;
class QWidget;

// Takes a color off the screen for a target: with the magnifier where the
// program may read the screen (X11), else through the desktop's own picker.
// The color goes in as a pasted one does.
class ScreenPick : public QObject {
    Q_OBJECT
public:
    // Alt+P: P is no access key of the main window.
    static inline const QKeySequence key{Qt::ALT | Qt::Key_P};
    static inline const QString caption = QStringLiteral("Pick from screen");

    // Gives the window its key and each swatch and hex box a context menu
    // entry that picks for that target.
    ScreenPick(QWidget &window, ColorEditor &editor);

    void pick(ColorTarget target);
    bool picking() const { return m_picking; }
    // The magnifier while one is shown.
    Magnifier *magnifier() const;

signals:
    // A pick ended, taken, refused or cancelled.
    void finished();
    // A swatch's menu is about to show: the window may add its own commands.
    void swatchMenuShowing(QMenu *menu, ColorTarget target);

private:
    void take(ColorTarget target, QRgb color);
    void end();

    QWidget &m_window;
    ColorEditor &m_editor;
    bool m_picking = false;
    QPointer<Magnifier> m_magnifier;
};
