#pragma once

#include "color/colortargets.h"
#include "output/frminfo.h"

#include <QObject>
#include <QPointer>

#include <array>

class ColorSet;
class frmtag;
class QPushButton;

// The program's products: the BODY tag window, the single-color copies and
// the page generator.
class OutputActions : public QObject {
    Q_OBJECT
public:
    // What the products are made from, handed by the window that owns it.
    struct Controls {
        QWidget *window;
        QPushButton *tagButton;
        // For each target of the table, the button that copies its color.
        std::array<QPushButton *, colorTargets.size()> copyButtons;
        PagePicture picture;
    };

    // The products are made of `colors`.
    OutputActions(const Controls &controls, const ColorSet &colors);

    // The five colors as the hex boxes show them, and the image's bare name.
    PageColors pageColors() const;

private:
    void cmdtag_Click();
    void copyColor(ColorTarget target);
    void showPageInfo();

    Controls m;
    const ColorSet &m_colors;
    // The shared body tag window while it exists, shown or hidden.
    QPointer<frmtag> m_tag;
};
