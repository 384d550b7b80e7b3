#pragma once

#include <QObject>
#include <QPointer>

class frmmain;
class frmtag;
class QLineEdit;

// The program's products: the BODY tag window, the single-color copies and
// the page generator.
class OutputActions : public QObject {
    Q_OBJECT
public:
    explicit OutputActions(frmmain &window);

private:
    void cmdtag_Click();
    void copyColor(const QLineEdit *hexBox);
    void showPageInfo();

    frmmain &m;
    // The shared body tag window while it exists, shown or hidden.
    QPointer<frmtag> m_tag;
};
