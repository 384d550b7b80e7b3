#include "app/previewmenu.h"

#include "app/frmmain.h"
#include "app/openpage.h"
#include "color/coloreditor.h"
#include "color/colortext.h"
#include "platform/desktop.h"

#include <QAction>
#include <QMenu>

void addPreviewCommands(frmmain &m, QMenu &menu, OpenPage &openPage)
{
    ColorEditor &editor = m.colorEditor();
    menu.addSeparator();
    menu.addAction(editor.history().undoAction());
    menu.addAction(editor.history().redoAction());
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
    // Offered only for a clipboard that holds a color.
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [paste] {
        paste->setEnabled(color::colorFromText(platform::desktop().clipboardText()).has_value());
    });
}
