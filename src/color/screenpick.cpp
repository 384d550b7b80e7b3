#include "color/screenpick.h"

#include "color/coloreditor.h"
#include "color/colorset.h"
#include "color/magnifier.h"
#include "platform/desktop.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QShortcut>

namespace {

QAction *addPickAction(QMenu &menu, ScreenPick &pick, ColorTarget target)
{
    QAction *action = menu.addAction(ScreenPick::caption, &pick, [&pick, target] { pick.pick(target); });
    action->setObjectName(QStringLiteral("actPickFromScreen"));
    action->setShortcut(ScreenPick::key);
    action->setShortcutVisibleInContextMenu(true);
    // The window's key; here it only shows.
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

} // namespace

ScreenPick::ScreenPick(QWidget &window, ColorEditor &editor) : QObject(&window), m_window(window), m_editor(editor)
{
    auto *shortcut = new QShortcut(key, &window);
    connect(shortcut, &QShortcut::activated, this, [this] { pick(m_editor.selectedTarget()); });

    // Not exec(): a menu shown modally would hold up whoever drives the window.
    for (const ColorEditor::TargetControls &t : m_editor.targets()) {
        const ColorTarget target = t.target;
        QLineEdit *hexBox = t.hexBox;
        hexBox->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(hexBox, &QWidget::customContextMenuRequested, this, [this, hexBox, target](const QPoint &at) {
            QMenu *menu = hexBox->createStandardContextMenu();
            menu->setObjectName(QStringLiteral("mnuHexBox"));
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            addPickAction(*menu, *this, target);
            menu->popup(hexBox->mapToGlobal(at));
        });
        QLabel *swatch = t.swatch;
        swatch->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(swatch, &QWidget::customContextMenuRequested, this, [this, swatch, target](const QPoint &at) {
            auto *menu = new QMenu(swatch);
            menu->setObjectName(QStringLiteral("mnuSwatch"));
            menu->setAttribute(Qt::WA_DeleteOnClose);
            addPickAction(*menu, *this, target);
            emit swatchMenuShowing(menu, target);
            menu->popup(swatch->mapToGlobal(at));
        });
    }
}

void ScreenPick::pick(ColorTarget target)
{
    if (m_picking)
        return;
    m_picking = true;
    if (!platform::desktop().canReadScreen()) {
        platform::desktop().pickColorFromDesktop(&m_window, [this, target](platform::Desktop::PickAnswer answer,
                                                                           QRgb color) {
            if (answer == platform::Desktop::PickAnswer::Picked)
                take(target, color);
            else if (answer == platform::Desktop::PickAnswer::Unavailable)
                platform::desktop().messageBox(
                    &m_window,
                    QStringLiteral("Picking a color from the screen needs the desktop's color picker; none answered."),
                    QString(), platform::MessageIcon::Exclamation);
            end();
        });
        return;
    }
    m_magnifier = new Magnifier(QString::fromLatin1(targetInfo(target).title));
    m_magnifier->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_magnifier, &Magnifier::picked, this, [this, target](QRgb color) {
        take(target, color);
        end();
    });
    connect(m_magnifier, &Magnifier::cancelled, this, &ScreenPick::end);
    m_magnifier->start();
}

// As a pasted color: one step, and a covered back color refuses it.
void ScreenPick::take(ColorTarget target, QRgb color)
{
    if (!m_editor.colors().isEditable(target)) {
        platform::desktop().beep();
        return;
    }
    m_editor.giveColor(target, color::Rgb{qRed(color), qGreen(color), qBlue(color)});
}

void ScreenPick::end()
{
    if (m_magnifier != nullptr) {
        m_magnifier->close();
        m_window.activateWindow();
    }
    m_picking = false;
    emit finished();
}

Magnifier *ScreenPick::magnifier() const
{
    return m_magnifier;
}
