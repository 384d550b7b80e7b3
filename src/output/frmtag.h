#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The body tag window: shows the BODY tag for editing and copying, and leads
// on to the page generator.
class frmtag : public QDialog {
    Q_OBJECT
public:
    explicit frmtag(QWidget *owner);

    QPushButton *cmdcopyTag, *cmdCREATEhtml, *cmdclose;
    QPlainTextEdit *txtTag;

signals:
    // The user goes on to the page generator; the window is hidden by then.
    void createHtmlRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdcopyTag_Click();
    void cmdCREATEhtml_Click();
};
