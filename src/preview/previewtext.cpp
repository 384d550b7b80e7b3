#include "preview/previewtext.h"

#include "platform/commondialog.h"
#include "platform/desktop.h"
#include "preview/previewmessages.h"
#include "widgets/controls.h"

#include <QFocusEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

PreviewText::PreviewText(const Controls &controls) : m(controls)
{
    m.text->setMaxLength(50);
    connect(m.text, &QLineEdit::textChanged, this, &PreviewText::txtBOX_Change);
    m.text->installEventFilter(this);
    connect(m.fontButton, &QPushButton::clicked, this, &PreviewText::cmdFONT_Click);
    connect(m.defaultFontButton, &QPushButton::clicked, this, &PreviewText::comdefFONT_Click);
}

bool PreviewText::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m.text && event->type() == QEvent::FocusOut) {
        // The box keeps the focus while its context menu is open or another
        // window is active; only a move to another control leaves it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            txtBOX_LostFocus();
    }
    return false;
}

void PreviewText::txtBOX_Change()
{
    m.sample->setText(m.text->text());
    m.sample->adjustSize();
}

void PreviewText::txtBOX_LostFocus()
{
    if (m.text->text().isEmpty())
        m.text->setText(defaultText());
}

void PreviewText::cmdFONT_Click()
{
    platform::CommonDialog &dialog = *m.fontDialog;
    dialog.CancelError = true;
    dialog.Flags = platform::CommonDialog::cdlCFBoth;
    const auto apply = [this](const QFont &font) {
        m.sample->setFont(font);
        m.sample->adjustSize();
    };
    // A cancel, a face without a name or a size that is no size ends here;
    // what was applied before stays.
    if (dialog.ShowFont() && !dialog.FontName.isEmpty()) {
        QFont font = m.sample->font();
        font.setFamily(dialog.FontName);
        apply(font);
        if (std::isfinite(dialog.FontSize) && dialog.FontSize > 0) {
            font.setPointSizeF(std::min(dialog.FontSize, maxFontSize));
            font.setBold(dialog.FontBold);
            font.setItalic(dialog.FontItalic);
            font.setUnderline(dialog.FontUnderline);
            font.setStrikeOut(dialog.FontStrikethru);
            apply(font);
        }
    }
    m.defaultFontButton->setFocus();
}

void PreviewText::comdefFONT_Click()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(maxFontSize);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    m.sample->setFont(font);
    m.sample->adjustSize();
    // Setting a font cannot fail; the system substitutes a missing face. What
    // can fail is that neither the face nor one with its metrics is there.
    if (!isDefaultSampleFace(QFontInfo(m.sample->font()).family()))
        platform::desktop().messageBox(m.sample->window(), errorNumberText(QStringLiteral("Font not found"), 380),
                                       QStringLiteral("Please continue"), platform::MessageIcon::Critical);
}
