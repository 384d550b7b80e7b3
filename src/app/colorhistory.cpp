#include "app/colorhistory.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "platform/desktop.h"
#include "preview/backgroundimage.h"
#include "preview/previewmessages.h"
#include "widgets/useraction.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QUndoStack>

class ColorHistory::Change : public QUndoCommand {
public:
    Change(ColorHistory &history, const Snapshot &before, const Snapshot &after, int typedBox, int typingRun) :
        m_history(history), m_before(before), m_after(after), m_typedBox(typedBox), m_typingRun(typingRun)
    {
    }

    void undo() override { m_history.apply(m_before); }
    void redo() override
    {
        // Pushed once the action has already made the change.
        if (m_pushed)
            m_history.apply(m_after);
        m_pushed = true;
    }
    int id() const override { return m_typedBox < 0 ? -1 : 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Change *>(other);
        if (next->m_typedBox != m_typedBox || next->m_typingRun != m_typingRun)
            return false;
        m_after = next->m_after;
        // Typing that ends where it began is no step.
        setObsolete(m_before == m_after);
        return true;
    }

private:
    ColorHistory &m_history;
    Snapshot m_before;
    Snapshot m_after;
    int m_typedBox;
    int m_typingRun;
    bool m_pushed = false;
};

ColorHistory::ColorHistory(QWidget &window, ColorEditor &editor, BackgroundImage &image, UserActions &actions,
                           QLineEdit *sampleText) :
    QObject(&editor),
    m_window(window), m_editor(editor), m_colors(editor.colors()), m_image(image), m_stack(new QUndoStack(this))
{
    m_undo = m_stack->createUndoAction(this, QStringLiteral("Undo"));
    m_undo->setObjectName(QStringLiteral("actUndo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = m_stack->createRedoAction(this, QStringLiteral("Redo"));
    m_redo->setObjectName(QStringLiteral("actRedo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {m_undo, m_redo}) {
        action->setShortcutVisibleInContextMenu(true);
        window.addAction(action);
    }
    connect(&actions, &UserActions::began, this, &ColorHistory::begin);
    connect(&actions, &UserActions::ended, this, &ColorHistory::end);
    // The sample text keeps its own undo, and these keys with it.
    sampleText->installEventFilter(this);
    // A new focus or target starts a new run of typing.
    connect(qApp, &QApplication::focusChanged, this, [this] { ++m_typingRun; });
    for (const auto &t : m_editor.targets())
        connect(t.option, &QRadioButton::toggled, this, [this] { ++m_typingRun; });
}

QAction *ColorHistory::actionFor(const QKeyEvent &key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (QAction *action : {m_undo, m_redo})
        if (action->shortcuts().contains(pressed))
            return action;
    return nullptr;
}

bool ColorHistory::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && actionFor(*static_cast<QKeyEvent *>(event)) != nullptr)
        event->accept();
    return QObject::eventFilter(watched, event);
}

ColorHistory::Snapshot ColorHistory::snapshot() const
{
    Snapshot s;
    for (const ColorTargetInfo &t : colorTargets)
        s.colors[indexOf(t.target)] = m_colors.color(t.target);
    s.picture = m_colors.picture();
    s.pictureFile = m_colors.pictureFile();
    return s;
}

void ColorHistory::begin(int typedBox)
{
    if (m_applying || m_depth++ > 0)
        return;
    m_before = snapshot();
    m_typedBox = typedBox;
}

void ColorHistory::end()
{
    if (m_applying || --m_depth > 0)
        return;
    const Snapshot after = snapshot();
    if (after != m_before)
        m_stack->push(new Change(*this, m_before, after, m_typedBox, m_typingRun));
}

void ColorHistory::apply(const Snapshot &state)
{
    const QScopedValueRollback<bool> applying(m_applying, true);
    const Snapshot now = snapshot();
    BackgroundImage &image = m_image;
    // A picture no longer there leaves the image as it is, and says so.
    if (!state.picture.isEmpty() && now.picture != state.picture) {
        const QString why = image.loadPicture(state.picture);
        if (!why.isEmpty())
            platform::desktop().messageBox(&m_window, pictureNotRestoredText(state.picture, why), QString(),
                                           platform::MessageIcon::Exclamation);
    } else if (state.picture.isEmpty()) {
        if (!now.picture.isEmpty())
            image.clearPicture();
        m_colors.restorePictureFile(state.pictureFile);
    }
    // The back color too, where a picture covers it: the state as it was.
    for (const ColorTargetInfo &t : colorTargets) {
        const color::Rgb &color = state.colors[indexOf(t.target)];
        if (now.colors[indexOf(t.target)] != color)
            m_editor.giveColor(t.target, color, ColorEditor::Giving::Restore);
    }
    ++m_typingRun;
}
