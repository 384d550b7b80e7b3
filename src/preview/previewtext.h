#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QPushButton;
namespace platform {
class CommonDialog;
}

// The sample text and its font.
class PreviewText : public QObject {
    Q_OBJECT
public:
    // What the sample text is handed: the preview's sample label, the box
    // its text is typed in, the two font buttons and the font dialog.
    struct Controls {
        QLabel *sample;
        QLineEdit *text;
        QPushButton *fontButton, *defaultFontButton;
        platform::CommonDialog *fontDialog;
    };
    explicit PreviewText(const Controls &controls);

    // The largest font size the sample takes, in points.
    static constexpr float maxFontSize = 14.0F;
    // What the sample box says when it is left empty.
    static QString defaultText() { return QStringLiteral("Sample"); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtBOX_Change();
    void txtBOX_LostFocus();
    void cmdFONT_Click();
    void comdefFONT_Click();

    Controls m;
};
