#pragma once

#include "app/programinfo.h"

#include <QDialog>

class ClickLabel;
class QLabel;
class QPushButton;

// The about window: program title, version, notice and the home page link.
// Every opening builds it afresh and every close destroys it.
class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget *owner);

    // The clock whose year ends the notice; tests set their own. An empty
    // clock means the system's.
    static void setClock(programinfo::Clock clock);

    QPushButton *cmdok;
    QLabel *lblprogtitle, *lblcopyright;
    ClickLabel *lblurl;
    QLabel *lbltext5, *lblversion, *lbltext4, *lbltext1, *lbltext2, *lbltext3, *lblcopyright2;
    QLabel *imghand;
    QWidget *Line1, *Line2, *Line3, *Line4;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void lblurl_MouseMove();
    void lblurl_Click();
};
