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
    const auto copy = [colors = std::move(colors)] {
        platform::desktop().setClipboardText(output::cssStyleBlock(colors()));
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
