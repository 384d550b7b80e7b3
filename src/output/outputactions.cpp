#include "output/outputactions.h"

#include "color/colorset.h"
#include "output/bodytag.h"
#include "output/copyformats.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QPlainTextEdit>
#include <QPushButton>

OutputActions::OutputActions(const Controls &controls, const ColorSet &colors) : m(controls), m_colors(colors)
{
    connect(m.tagButton, &QPushButton::clicked, this, &OutputActions::cmdtag_Click);
    for (const ColorTargetInfo &t : colorTargets)
        connect(m.copyButtons[indexOf(t.target)], &QPushButton::clicked, this,
                [this, target = t.target] { copyColor(target); });
    addCopyFormats(*this, m.copyButtons, m_colors, m.tagButton);
}

PageColors OutputActions::pageColors() const
{
    PageColors colors;
    for (const ColorTargetInfo &t : colorTargets)
        colors[t.target] = color::hexColor(m_colors.color(t.target));
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

void OutputActions::copyColor(ColorTarget target)
{
    platform::desktop().setClipboardText(color::hexColor(m_colors.color(target)));
    m.tagButton->setFocus();
}

void OutputActions::showPageInfo()
{
    auto *info = new frminfo(*m.window, *m_tag, m.picture);
    info->show();
}
