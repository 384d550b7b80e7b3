#include "output/copyformats.h"

#include "output/cssoutput.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

void addCopyFormats(QObject &owner, const std::array<QPushButton *, colorTargets.size()> &buttons,
                    const std::array<QLineEdit *, colorTargets.size()> &hexBoxes, QPushButton *tagButton)
{
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton *button = buttons[i];
        QLineEdit *hexBox = hexBoxes[i];
        auto *menu = new QMenu(button);
        menu->setObjectName(button->objectName() + QStringLiteral("Formats"));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        // The entries show the color as it is when the menu opens.
        QObject::connect(button, &QWidget::customContextMenuRequested, &owner,
                         [button, hexBox, menu, tagButton](const QPoint &pos) {
                             menu->clear();
                             for (const QString &text : output::colorCopyFormats(hexBox->text())) {
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
