#include "app/previewmenu.h"

#include "app/colorhistory.h"
#include "app/openpage.h"
#include "color/coloreditor.h"
#include "color/screenpick.h"
#include "platform/desktop.h"

#include <QAction>
#include <QMenu>

void addPreviewCommands(QMenu &menu, ColorEditor &editor, ColorHistory &history, OpenPage &openPage)
{
    menu.addSeparator();
    menu.addAction(history.undoAction());
    menu.addAction(history.redoAction());
    menu.addSeparator();
    // The keys are the window's; here they only show.
    QAction *paste = menu.addAction(QStringLiteral("Paste color"), &menu,
                                    [&editor] { editor.pasteColorOn(editor.selectedTarget()); });
    paste->setObjectName(QStringLiteral("actPasteColor"));
    paste->setShortcut(QKeySequence::Paste);
    QAction *open = menu.addAction(QStringLiteral("Open page colors..."), &menu, [&openPage] { openPage.open(); });
    open->setObjectName(QStringLiteral("actOpenPage"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    for (QAction *action : {paste, open}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
    }
    // Offered for a clipboard that offers text. Its owner may never answer,
    // so the text is read only when the user pastes.
    QObject::connect(&menu, &QMenu::aboutToShow, &menu,
                     [paste] { paste->setEnabled(platform::desktop().clipboardOffersText()); });
}

void addPickCommand(QMenu &menu, ColorEditor &editor, ScreenPick &pick)
{
    QAction *action =
        menu.addAction(ScreenPick::caption, &menu, [&editor, &pick] { pick.pick(editor.selectedTarget()); });
    action->setObjectName(QStringLiteral("actPickFromScreen"));
    action->setShortcut(ScreenPick::key);
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
}
