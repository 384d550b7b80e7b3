#include "app/adjustcommand.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "color/frmadjust.h"
#include "settings/windowplacement.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

#include <functional>

namespace {

QAction *addAction(QMenu &menu, const std::function<void()> &run)
{
    QAction *action = menu.addAction(AdjustCommand::caption, &menu, run);
    action->setObjectName(QStringLiteral("actAdjust"));
    action->setShortcut(AdjustCommand::key);
    // The window's key; here it only shows.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

AdjustCommand::AdjustCommand(QWidget &window, ColorEditor &editor) :
    QObject(&window), m_window(window), m_editor(editor)
{
    auto *shortcut = new QShortcut(key, &window);
    connect(shortcut, &QShortcut::activated, this, [this] { open(m_editor.selectedTarget()); });
}

AdjustCommand::~AdjustCommand() = default;

void AdjustCommand::open(ColorTarget target)
{
    if (m_editor.colors().isEditable(target) && m_editor.selectedTarget() != target)
        m_editor.choose(target);
    if (m_adjust == nullptr) {
        m_adjust = new frmadjust(&m_window, m_editor);
        // The main window's undo and redo keys work here too.
        m_adjust->addActions(m_window.actions());
        m_adjust->adjustSize();
        // Beside the main window, unless it stood elsewhere when last closed.
        const QRect owner = m_window.frameGeometry();
        m_adjust->move(owner.right() + 1 + 8, owner.top());
        m_placement = std::make_unique<WindowPlacement>(
            *m_adjust, WindowPlacement::ValueNames{"AdjustTop", "AdjustLeft", "AdjustWidth", "AdjustHeight"});
        m_placement->RestoreWindowPlacement();
        connect(m_adjust, &QDialog::finished, this, [this] { m_placement->SaveWindowPlacement(); });
    }
    m_adjust->setTarget(target);
    m_adjust->show();
    m_adjust->raise();
    m_adjust->activateWindow();
}

void AdjustCommand::addTo(QMenu &menu, ColorTarget target)
{
    addAction(menu, [this, target] { open(target); });
}

void AdjustCommand::addForSelected(QMenu &menu)
{
    addAction(menu, [this] { open(m_editor.selectedTarget()); });
}

frmadjust *AdjustCommand::window() const
{
    return m_adjust;
}

void AdjustCommand::saveOpenWindowPlacement()
{
    if (m_adjust != nullptr && m_adjust->isVisible())
        m_placement->SaveWindowPlacement();
}
