#include "output/copyformats.h"

#include "color/colorset.h"
#include "output/cssoutput.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

void addCopyFormats(QObject &owner, const std::array<QPushButton *, colorTargets.size()> &buttons,
                    const ColorSet &colors, QPushButton *tagButton)
{
    for (const ColorTargetInfo &t : colorTargets) {
        QPushButton *button = buttons[indexOf(t.target)];
        auto *menu = new QMenu(button);
        menu->setObjectName(button->objectName() + QStringLiteral("Formats"));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        // The entries show the color as it is when the menu opens.
        QObject::connect(button, &QWidget::customContextMenuRequested, &owner,
                         [button, &colors, target = t.target, menu, tagButton](const QPoint &pos) {
                             menu->clear();
                             for (const QString &text :
                                  output::colorCopyFormats(color::hexColor(colors.color(target)))) {
                                 QAction *action = menu->addAction(text);
                                 QObject::connect(action, &QAction::triggered, menu, [tagButton, text] {
                                     platform::desktop().setClipboardText(text);
                                     tagButton->setFocus();
                                 });
                             }
                             menu->popup(button->mapToGlobal(pos));
                         });
    }
}

void addCopyAsCss(frmtag &tag, std::function<PageColors()> colors)
{
    const QKeySequence keys(QStringLiteral("Ctrl+Shift+C"));
    const auto copyIn = [colors = std::move(colors)](output::ColorNotation notation) {
        platform::desktop().setClipboardText(output::cssStyleBlock(colors(), notation));
    };
    const auto copy = [copyIn] { copyIn(output::ColorNotation::Hex); };
    auto *shortcut = new QShortcut(keys, &tag);
    QObject::connect(shortcut, &QShortcut::activated, &tag, copy);

    QPlainTextEdit *text = tag.txtTag;
    text->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(text, &QWidget::customContextMenuRequested, &tag, [text, keys, copy, copyIn](const QPoint &pos) {
        QMenu *menu = text->createStandardContextMenu(pos);
        menu->setObjectName(QStringLiteral("mnuTag"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        // Hex stays the default, the last entry and the shortcut's; oklch()
        // beside it for a style sheet that works in it.
        QAction *oklch = menu->addAction(QStringLiteral("Copy as CSS in oklch()"));
        oklch->setObjectName(QStringLiteral("actCopyAsCssOklch"));
        QObject::connect(oklch, &QAction::triggered, text, [copyIn] { copyIn(output::ColorNotation::Oklch); });
        QAction *css = menu->addAction(QStringLiteral("Copy as CSS"));
        css->setShortcut(keys);
        QObject::connect(css, &QAction::triggered, text, copy);
        menu->popup(text->viewport()->mapToGlobal(pos));
    });
}
