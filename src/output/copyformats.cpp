#include "output/copyformats.h"

#include "app/frmmain.h"
#include "output/cssoutput.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

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

void addCopyAsCss(frmtag &tag, frmmain &m)
{
    const QKeySequence keys(QStringLiteral("Ctrl+Shift+C"));
    const auto copy = [&m] {
        // The main window is blocked while the tag window shows, so these are
        // the colors and the image the tag was made of.
        platform::desktop().setClipboardText(
            output::cssStyleBlock({m.txtHEXback->text(), m.txtHEXtext->text(), m.txtnewlink->text(),
                                   m.txtvisitedlink->text(), m.txtactivelink->text(), m.HIDDENlbltaginfo->text()}));
    };
    auto *shortcut = new QShortcut(keys, &tag);
    QObject::connect(shortcut, &QShortcut::activated, &tag, copy);

    QPlainTextEdit *text = tag.txtTag;
    text->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(text, &QWidget::customContextMenuRequested, &tag, [text, keys, copy](const QPoint &pos) {
        QMenu *menu = text->createStandardContextMenu(pos);
        menu->setObjectName(QStringLiteral("mnuTag"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        QAction *css = menu->addAction(QStringLiteral("Copy as CSS"));
        css->setShortcut(keys);
        QObject::connect(css, &QAction::triggered, text, copy);
        menu->popup(text->viewport()->mapToGlobal(pos));
    });
}
