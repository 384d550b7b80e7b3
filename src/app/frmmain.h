#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class ClickLabel;
class PreviewBox;
class ColorEditor;
class PreviewText;
class BackgroundImage;
class OutputActions;
class WindowPlacement;
class ColorVisionPreview;
namespace platform {
class CommonDialog;
}

// The main window. It builds and owns every control; each subsystem is a
// small class that is handed this window and connects its own handlers.
class frmmain : public QWidget {
    Q_OBJECT
public:
    explicit frmmain(QWidget *parent = nullptr);
    ~frmmain() override;

    // False when the start-up guard ended the program before the window loaded.
    bool loaded() const { return m_loaded; }

    // Left column.
    QLabel *lblR, *lblG, *lblB;
    QPushButton *cmdALLup, *cmdALLdown;
    QScrollBar *VScrollRed, *VScrollGreen, *VScrollBlue;
    QLabel *lblred, *lblgreen, *lblblue;
    QLineEdit *txtred, *txtgreen, *txtblue;
    QPushButton *cmdUSEwindows, *cmd0, *cmd255, *cmdabout, *cmdexit;

    // Middle column.
    QLabel *lblpreview;
    PreviewBox *picboxMAIN;
    ClickLabel *lblpic, *lblpicNewlink, *lblpicVisitedlink, *lblpicActivelink;
    QLineEdit *txtBOX;
    QRadioButton *optTEXT, *optBACK, *optNewlinks, *optVisitedlinks, *optActivelinks;
    QPushButton *cmdresetNEW, *cmdresetVISITED, *cmdresetACTIVE;
    QPushButton *cmdFONT, *comdefFONT, *cmdload, *cmdclear, *cmdsave;

    // Right column.
    QLabel *lblHTML;
    QLineEdit *txtHEXtext, *txtHEXback, *txtnewlink, *txtvisitedlink, *txtactivelink;
    QLabel *lblhextxtcolor, *lblhexbackcolor, *lblhexnewlinkcolor, *lblhexvisitedlinkcolor, *lblhexactivelinkcolor;
    QPushButton *cmdCOPYTEXT, *cmdCOPYBACK, *cmdCOPYnewlink, *cmdCOPYvisitedlink, *cmdCOPYactivelink;
    QPushButton *cmdtag;

    // State fields, out of sight.
    QLineEdit *HIDDENtxtbackred, *HIDDENtxtbackgreen, *HIDDENtxtbackblue;
    QLineEdit *HIDDENtxtred, *HIDDENtxtgreen, *HIDDENtxtblue;
    QLineEdit *HIDDENtxtnewlinksred, *HIDDENtxtnewlinksgreen, *HIDDENtxtnewlinksblue;
    QLineEdit *HIDDENtxtvisitedlinksred, *HIDDENtxtvisitedlinksgreen, *HIDDENtxtvisitedlinksblue;
    QLineEdit *HIDDENtxtactivelinksred, *HIDDENtxtactivelinksgreen, *HIDDENtxtactivelinksblue;
    QLineEdit *HIDDENtxthexcolor;
    QLabel *HIDDENlblcolor, *HIDDENlbltaginfo, *HIDDENlblfilename;
    QLabel *picboxHIDDEN;

    platform::CommonDialog *CommonDialog1, *CommonDialog2;

    // Fast-step flag of the all-up and all-down buttons.
    bool ShiftHeld = false;

    ColorEditor &colorEditor() { return *m_color; }
    PreviewText &previewText() { return *m_previewText; }
    BackgroundImage &backgroundImage() { return *m_image; }
    OutputActions &output() { return *m_output; }

signals:
    // The window has closed: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Form_Initialize();
    void createControls();
    void setTabOrder();
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void cmdexit_Click();
    void cmdabout_Click();
    void focusNextBearing(const QKeySequence &accessKey);

    bool m_loaded = false;
    std::unique_ptr<ColorEditor> m_color;
    std::unique_ptr<PreviewText> m_previewText;
    std::unique_ptr<BackgroundImage> m_image;
    std::unique_ptr<OutputActions> m_output;
    std::unique_ptr<WindowPlacement> m_placement;
    std::unique_ptr<ColorVisionPreview> m_vision;
};
