#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace platform {

// A stateful common dialog: its properties persist from one use to the next,
// so a dialog opens on what was last chosen in it.
class CommonDialog : public QObject {
    Q_OBJECT
public:
    // Color dialog: start from the Color property.
    static constexpr int cdlCCRGBInit = 0x1;
    // Font dialog: list screen and printer fonts.
    static constexpr int cdlCFBoth = 0x3;
    // File dialogs.
    static constexpr int cdlOFNOverwritePrompt = 0x2;
    static constexpr int cdlOFNHideReadOnly = 0x4;
    static constexpr int cdlOFNPathMustExist = 0x800;

    CommonDialog(const QString &name, QWidget *owner);

    bool CancelError = false;
    int Flags = 0;
    qint32 Color = 0;
    QString FontName = QStringLiteral("Arial");
    float FontSize = 8.0F;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethru = false;
    QString FileName;
    QString Filter;
    QString DialogTitle;
    QString DefaultExt;

    // Each returns false for a cancel.
    bool ShowColor();
    bool ShowFont();
    bool ShowOpen();
    bool ShowSave();

    QWidget *owner() const { return m_owner; }

private:
    QWidget *m_owner;
};

} // namespace platform
