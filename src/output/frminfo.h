#pragma once

#include <QDialog>
#include <QPointer>

class frmmain;
class frmtag;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace platform {
class CommonDialog;
}

// The page information window: asks for the author's name and the page
// title, then writes the template page with the current BODY tag.
class frminfo : public QDialog {
    Q_OBJECT
public:
    // `tag` is the hidden body tag window whose text goes into the page.
    frminfo(frmmain &owner, frmtag &tag);

    QLineEdit *txtNAME, *txtTITLE;
    QGroupBox *Frame1;
    QPushButton *cmdready;
    QLabel *lblname, *lbluser;
    platform::CommonDialog *CommonDialog1;

private:
    void cmdready_Click();

    frmmain &m;
    QPointer<frmtag> m_tag;
};
