#pragma once

#include "color/colortargets.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class ClickLabel;
class PreviewBox;
class ColorEditor;
class ColorHistory;
class ColorSet;
class PreviewText;
class BackgroundImage;
class OutputActions;
class WindowPlacement;
class ColorVisionPreview;
class UserActions;
class AdjustCommand;
namespace platform {
class CommonDialog;
}

// The main window. It builds and owns every control; each subsystem is a
// small class handed the controls it uses, and the window wires what one
// says happened to what another does about it.
class frmmain : public QWidget {
    Q_OBJECT
public:
    explicit frmmain(QWidget *parent = nullptr);
    ~frmmain() override;

    // False when the start-up guard ended the program before the window loaded.
    bool loaded() const { return m_loaded; }

    // The page's colors and picture, which every control shows.
    ColorSet &colors() { return *m_colors; }
    ColorEditor &colorEditor() { return *m_color; }
    ColorHistory &history() { return *m_history; }

signals:
    // The window has closed: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Form_Initialize();
    void createControls();
    void setUpWindow();
    void createLeftColumn();
    void createMiddleColumn();
    void createPreview();
    void createRightColumn();
    void createStateFields();
    void createSubsystems();
    void setTabOrder();
    void describeControls();
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void cmdexit_Click();
    void cmdabout_Click();
    void focusNextBearing(const QKeySequence &accessKey);

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
    QLabel *lblpic; // the sample text, the text color's preview label
    QLineEdit *txtBOX;
    QPushButton *cmdFONT, *comdefFONT, *cmdload, *cmdclear, *cmdsave;

    // Right column.
    QLabel *lblHTML;
    QPushButton *cmdtag;

    // The controls of each color target, named as its row of the table.
    struct TargetControls {
        QRadioButton *option;
        QPushButton *reset; // null where the target has none
        std::array<QLineEdit *, 3> stores;
        QLineEdit *hexBox;
        QLabel *swatch;
        QPushButton *copy;
        QWidget *previewElement;
    };
    std::array<TargetControls, colorTargets.size()> m_targets{};

    // State fields, out of sight.
    QLineEdit *HIDDENtxthexcolor;
    QLabel *HIDDENlblcolor, *HIDDENlbltaginfo, *HIDDENlblfilename;
    QLabel *picboxHIDDEN;

    platform::CommonDialog *CommonDialog1, *CommonDialog2;

    bool m_loaded = false;
    UserActions *m_actions = nullptr;
    std::unique_ptr<ColorSet> m_colors;
    std::unique_ptr<ColorEditor> m_color;
    std::unique_ptr<PreviewText> m_previewText;
    std::unique_ptr<BackgroundImage> m_image;
    std::unique_ptr<OutputActions> m_output;
    std::unique_ptr<WindowPlacement> m_placement;
    std::unique_ptr<ColorVisionPreview> m_vision;
    ColorHistory *m_history = nullptr;
    AdjustCommand *m_adjust = nullptr;
};
