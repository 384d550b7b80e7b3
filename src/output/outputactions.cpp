#include "output/outputactions.h"

#include "app/frmmain.h"
#include "output/bodytag.h"
#include "output/copyformats.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "platform/desktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

OutputActions::OutputActions(frmmain &window) : m(window)
{
    connect(m.cmdtag, &QPushButton::clicked, this, &OutputActions::cmdtag_Click);
    const std::pair<QPushButton *, QLineEdit *> copies[] = {{m.cmdCOPYTEXT, m.txtHEXtext},
                                                            {m.cmdCOPYBACK, m.txtHEXback},
                                                            {m.cmdCOPYnewlink, m.txtnewlink},
                                                            {m.cmdCOPYvisitedlink, m.txtvisitedlink},
                                                            {m.cmdCOPYactivelink, m.txtactivelink}};
    for (const auto &[button, box] : copies)
        connect(button, &QPushButton::clicked, this, [this, box = box] { copyColor(box); });
}

void OutputActions::cmdtag_Click()
{
    const BodyColors colors{m.txtHEXback->text(), m.txtHEXtext->text(), m.txtnewlink->text(), m.txtvisitedlink->text(),
                            m.txtactivelink->text()};
    if (m_tag == nullptr) {
        m_tag = new frmtag(&m);
        connect(m_tag, &frmtag::createHtmlRequested, this, &OutputActions::showPageInfo);
        addCopyAsCss(*m_tag, m);
    }
    m_tag->txtTag->setPlainText(bodyTag(colors, m.HIDDENlbltaginfo->text()));
    m_tag->show();
}

void OutputActions::copyColor(const QLineEdit *hexBox)
{
    platform::desktop().setClipboardText(hexBox->text());
    m.cmdtag->setFocus();
}

void OutputActions::showPageInfo()
{
    auto *info = new frminfo(m, *m_tag);
    info->show();
}
