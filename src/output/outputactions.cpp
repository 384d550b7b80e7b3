#include "output/outputactions.h"

#include "output/bodytag.h"
#include "output/copyformats.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

OutputActions::OutputActions(const Controls &controls) : m(controls)
{
    connect(m.tagButton, &QPushButton::clicked, this, &OutputActions::cmdtag_Click);
    for (std::size_t i = 0; i < colorTargets.size(); ++i)
        connect(m.copyButtons[i], &QPushButton::clicked, this, [this, box = m.hexBoxes[i]] { copyColor(box); });
    addCopyFormats(*this, m.copyButtons, m.hexBoxes, m.tagButton);
}

PageColors OutputActions::pageColors() const
{
    PageColors colors;
    for (const ColorTargetInfo &t : colorTargets)
        colors[t.target] = m.hexBoxes[indexOf(t.target)]->text();
    colors.imageName = m.picture.name();
    return colors;
}

void OutputActions::cmdtag_Click()
{
    const PageColors colors = pageColors();
    if (m_tag == nullptr) {
        m_tag = new frmtag(m.window);
        connect(m_tag, &frmtag::createHtmlRequested, this, &OutputActions::showPageInfo);
        // The main window is blocked while the tag window shows, so these are
        // the colors and the image the tag was made of.
        addCopyAsCss(*m_tag, [this] { return pageColors(); });
    }
    m_tag->txtTag->setPlainText(bodyTag(colors));
    m_tag->show();
}

void OutputActions::copyColor(const QLineEdit *hexBox)
{
    platform::desktop().setClipboardText(hexBox->text());
    m.tagButton->setFocus();
}

void OutputActions::showPageInfo()
{
    auto *info = new frminfo(*m.window, *m_tag, m.picture);
    info->show();
}
