#pragma once

#include "color/colortargets.h"
#include "color/rgb.h"

#include <QObject>
#include <QString>

#include <array>

class BackgroundImage;
class ColorEditor;
class ColorSet;
class QAction;
class QKeyEvent;
class QLineEdit;
class QUndoStack;
class QWidget;
class UserActions;

// Undo and redo of the five colors and the background image. Each user
// action, as the subsystems mark it, is one step: the state before its
// outermost handling and the state after it. Going back or forth drives the
// controls to the other state, as the user would, so that every display
// follows by its usual handling.
class ColorHistory : public QObject {
    Q_OBJECT
public:
    // The five colors and the background image.
    struct Snapshot {
        std::array<color::Rgb, colorTargets.size()> colors{};
        QString picture;     // empty for none
        QString pictureFile; // the last picture's file
        friend bool operator==(const Snapshot &, const Snapshot &) = default;
    };

    // The colors are the editor's; the actions are the window's; the sample
    // text keeps its own undo.
    ColorHistory(QWidget &window, ColorEditor &editor, BackgroundImage &image, UserActions &actions,
                 QLineEdit *sampleText);

    Snapshot snapshot() const;
    QUndoStack &stack() const { return *m_stack; }
    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y: shortcuts of the main window.
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    // The action whose shortcut `key` is, if any.
    QAction *actionFor(const QKeyEvent &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Change;

    // `typedBox` names the value box whose typing the step is; typing into
    // one box merges into one step until the focus or the target changes.
    void begin(int typedBox);
    void end();
    void apply(const Snapshot &state);

    QWidget &m_window;
    ColorEditor &m_editor;
    ColorSet &m_colors;
    BackgroundImage &m_image;
    QUndoStack *m_stack;
    QAction *m_undo;
    QAction *m_redo;
    int m_depth = 0;
    bool m_applying = false;
    int m_typedBox = -1;
    int m_typingRun = 0;
    Snapshot m_before;
};
