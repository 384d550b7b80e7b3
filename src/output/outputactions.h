#pragma once

#include "color/colortargets.h"
#include "output/frminfo.h"

#include <QObject>
#include <QPointer>

#include <array>

class frmtag;
class QLineEdit;
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
        // For each target of the table, its copy button and the hex box it copies.
        std::array<QPushButton *, colorTargets.size()> copyButtons;
        std::array<QLineEdit *, colorTargets.size()> hexBoxes;
        PagePicture picture;
    };

    explicit OutputActions(const Controls &controls);

    // The five colors as the hex boxes show them, and the image's bare name.
    PageColors pageColors() const;

private:
    void cmdtag_Click();
    void copyColor(const QLineEdit *hexBox);
    void showPageInfo();

    Controls m;
    // The shared body tag window while it exists, shown or hidden.
    QPointer<frmtag> m_tag;
};
