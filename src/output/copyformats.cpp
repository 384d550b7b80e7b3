#include "output/copyformats.h"

#include "app/frmmain.h"
#include "output/cssoutput.h"
#include "platform/desktop.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

CopyFormats::CopyFormats(frmmain &m) : QObject(&m)
{
    const std::pair<QPushButton *, QLineEdit *> buttons[] = {{m.cmdCOPYTEXT, m.txtHEXtext},
                                                             {m.cmdCOPYBACK, m.txtHEXback},
                                                             {m.cmdCOPYnewlink, m.txtnewlink},
                                                             {m.cmdCOPYvisitedlink, m.txtvisitedlink},
                                                             {m.cmdCOPYactivelink, m.txtactivelink}};
    for (const auto &[button, hexBox] : buttons) {
        auto *menu = new QMenu(button);
        menu->setObjectName(button->objectName() + QStringLiteral("Formats"));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        // The entries show the color as it is when the menu opens.
        connect(button, &QWidget::customContextMenuRequested, this, [&m, button, hexBox, menu](const QPoint &pos) {
            menu->clear();
            for (const QString &text : output::colorCopyFormats(hexBox->text())) {
                QAction *action = menu->addAction(text);
                connect(action, &QAction::triggered, menu, [&m, text] {
                    platform::desktop().setClipboardText(text);
                    m.cmdtag->setFocus();
                });
            }
            menu->popup(button->mapToGlobal(pos));
        });
    }
}
