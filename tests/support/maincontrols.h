#pragma once

// The main window's controls, found by their names, and the windows it opens.
// Tests and benchmarks reach the window's controls only through this, never
// through its members.
// Header-only so that the benchmarks, built without the test library, share it.

#include "platform/commondialog.h"
#include "preview/previewbox.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

#include <type_traits>

namespace testsupport {

struct MainControls {
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
};

// The control of `window` named `name`; a missing one ends the program with
// its name, since no test of the window means anything without it.
template <class T> T *namedControl(const QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (found == nullptr)
        qFatal("the main window has no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

// A secondary window the main window (or any `owner`) has opened: each is
// named after its class.
template <class T> T *findWindow(const QObject &owner)
{
    return owner.findChild<T *>(QLatin1String(T::staticMetaObject.className()));
}

// The controls of a main window.
inline MainControls controlsOf(const QWidget &window)
{
#define DUDOVUVOV_FIND(member) c.member = namedControl<std::remove_pointer_t<decltype(c.member)>>(window, #member)
    MainControls c{};
    DUDOVUVOV_FIND(lblR);
    DUDOVUVOV_FIND(lblG);
    DUDOVUVOV_FIND(lblB);
    DUDOVUVOV_FIND(cmdALLup);
    DUDOVUVOV_FIND(cmdALLdown);
    DUDOVUVOV_FIND(VScrollRed);
    DUDOVUVOV_FIND(VScrollGreen);
    DUDOVUVOV_FIND(VScrollBlue);
    DUDOVUVOV_FIND(lblred);
    DUDOVUVOV_FIND(lblgreen);
    DUDOVUVOV_FIND(lblblue);
    DUDOVUVOV_FIND(txtred);
    DUDOVUVOV_FIND(txtgreen);
    DUDOVUVOV_FIND(txtblue);
    DUDOVUVOV_FIND(cmdUSEwindows);
    DUDOVUVOV_FIND(cmd0);
    DUDOVUVOV_FIND(cmd255);
    DUDOVUVOV_FIND(cmdabout);
    DUDOVUVOV_FIND(cmdexit);
    DUDOVUVOV_FIND(lblpreview);
    DUDOVUVOV_FIND(picboxMAIN);
    DUDOVUVOV_FIND(lblpic);
    DUDOVUVOV_FIND(lblpicNewlink);
    DUDOVUVOV_FIND(lblpicVisitedlink);
    DUDOVUVOV_FIND(lblpicActivelink);
    DUDOVUVOV_FIND(txtBOX);
    DUDOVUVOV_FIND(optTEXT);
    DUDOVUVOV_FIND(optBACK);
    DUDOVUVOV_FIND(optNewlinks);
    DUDOVUVOV_FIND(optVisitedlinks);
    DUDOVUVOV_FIND(optActivelinks);
    DUDOVUVOV_FIND(cmdresetNEW);
    DUDOVUVOV_FIND(cmdresetVISITED);
    DUDOVUVOV_FIND(cmdresetACTIVE);
    DUDOVUVOV_FIND(cmdFONT);
    DUDOVUVOV_FIND(comdefFONT);
    DUDOVUVOV_FIND(cmdload);
    DUDOVUVOV_FIND(cmdclear);
    DUDOVUVOV_FIND(cmdsave);
    DUDOVUVOV_FIND(lblHTML);
    DUDOVUVOV_FIND(txtHEXtext);
    DUDOVUVOV_FIND(txtHEXback);
    DUDOVUVOV_FIND(txtnewlink);
    DUDOVUVOV_FIND(txtvisitedlink);
    DUDOVUVOV_FIND(txtactivelink);
    DUDOVUVOV_FIND(lblhextxtcolor);
    DUDOVUVOV_FIND(lblhexbackcolor);
    DUDOVUVOV_FIND(lblhexnewlinkcolor);
    DUDOVUVOV_FIND(lblhexvisitedlinkcolor);
    DUDOVUVOV_FIND(lblhexactivelinkcolor);
    DUDOVUVOV_FIND(cmdCOPYTEXT);
    DUDOVUVOV_FIND(cmdCOPYBACK);
    DUDOVUVOV_FIND(cmdCOPYnewlink);
    DUDOVUVOV_FIND(cmdCOPYvisitedlink);
    DUDOVUVOV_FIND(cmdCOPYactivelink);
    DUDOVUVOV_FIND(cmdtag);
    DUDOVUVOV_FIND(HIDDENtxtbackred);
    DUDOVUVOV_FIND(HIDDENtxtbackgreen);
    DUDOVUVOV_FIND(HIDDENtxtbackblue);
    DUDOVUVOV_FIND(HIDDENtxtred);
    DUDOVUVOV_FIND(HIDDENtxtgreen);
    DUDOVUVOV_FIND(HIDDENtxtblue);
    DUDOVUVOV_FIND(HIDDENtxtnewlinksred);
    DUDOVUVOV_FIND(HIDDENtxtnewlinksgreen);
    DUDOVUVOV_FIND(HIDDENtxtnewlinksblue);
    DUDOVUVOV_FIND(HIDDENtxtvisitedlinksred);
    DUDOVUVOV_FIND(HIDDENtxtvisitedlinksgreen);
    DUDOVUVOV_FIND(HIDDENtxtvisitedlinksblue);
    DUDOVUVOV_FIND(HIDDENtxtactivelinksred);
    DUDOVUVOV_FIND(HIDDENtxtactivelinksgreen);
    DUDOVUVOV_FIND(HIDDENtxtactivelinksblue);
    DUDOVUVOV_FIND(HIDDENtxthexcolor);
    DUDOVUVOV_FIND(HIDDENlblcolor);
    DUDOVUVOV_FIND(HIDDENlbltaginfo);
    DUDOVUVOV_FIND(HIDDENlblfilename);
    DUDOVUVOV_FIND(picboxHIDDEN);
    DUDOVUVOV_FIND(CommonDialog1);
    DUDOVUVOV_FIND(CommonDialog2);
#undef DUDOVUVOV_FIND
    return c;
}

} // namespace testsupport
