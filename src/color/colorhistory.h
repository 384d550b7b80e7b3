#pragma once

#include <QObject>
#include <QString>

#include <array>

class frmmain;
class ColorEditor;
class QAction;
class QKeyEvent;
class QUndoStack;

// Undo and redo of the five colors and the background image. Each user
// action is one step: the state before its outermost handling and the state
// after it. Going back or forth drives the controls to the other state, as
// the user would, so that every display follows by its usual handling.
class ColorHistory : public QObject {
    Q_OBJECT
public:
    // The five colors as their stores hold them, and the background image.
    struct Snapshot {
        std::array<std::array<int, 3>, 5> colors{};
        QString imageFile;
        bool imageShown = false;
        friend bool operator==(const Snapshot &, const Snapshot &) = default;
    };

    // Brackets the handling of one user action; nested steps belong to the
    // outermost one.
    class Step {
    public:
        explicit Step(ColorHistory &history, int typedBox = -1) : m_history(history) { history.begin(typedBox); }
        ~Step() { m_history.end(); }
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        ColorHistory &m_history;
    };

    ColorHistory(frmmain &window, ColorEditor &editor);

    Snapshot snapshot() const;
    QUndoStack &stack() const { return *m_stack; }
    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y: shortcuts of the main window.
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    // The action whose shortcut `key` is, if any.
    QAction *actionFor(const QKeyEvent &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // An undo or redo has put a state back.
    void applied();

private:
    class Change;

    // `typedBox` names the value box whose typing the step is; typing into
    // one box merges into one step until the focus or the target changes.
    void begin(int typedBox);
    void end();
    void apply(const Snapshot &state);

    frmmain &m;
    ColorEditor &m_editor;
    QUndoStack *m_stack;
    QAction *m_undo;
    QAction *m_redo;
    int m_depth = 0;
    bool m_applying = false;
    int m_typedBox = -1;
    int m_typingRun = 0;
    Snapshot m_before;
};
