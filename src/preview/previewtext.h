#pragma once

#include <QObject>

class frmmain;

// The sample text and its font.
class PreviewText : public QObject {
    Q_OBJECT
public:
    explicit PreviewText(frmmain &window);

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

    frmmain &m;
};
