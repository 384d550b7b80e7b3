#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class frmtag;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace platform {
class CommonDialog;
}

// Where the page's background image comes from: its bare name (empty when
// none shows) and the file it was loaded from.
struct PagePicture {
    std::function<QString()> name;
    std::function<QString()> path;
};

// The page information window: asks for the author's name and the page
// title, then writes the template page with the current BODY tag.
class frminfo : public QDialog {
    Q_OBJECT
public:
    // `tag` is the hidden body tag window whose text goes into the page.
    frminfo(QWidget &owner, frmtag &tag, PagePicture picture);

    QLineEdit *txtNAME, *txtTITLE;
    QGroupBox *Frame1;
    QPushButton *cmdready;
    QLabel *lblname, *lbluser;
    platform::CommonDialog *CommonDialog1;

private:
    void cmdready_Click();

    PagePicture m_picture;
    QPointer<frmtag> m_tag;
};
