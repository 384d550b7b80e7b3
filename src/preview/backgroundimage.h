#pragma once

#include <QObject>
#include <QString>

class ColorSet;
class PreviewBox;
class QLabel;
class QPushButton;
class QWidget;
class UserActions;
namespace platform {
class CommonDialog;
}

// The background image: load, tile over the preview, clear, save a copy.
class BackgroundImage : public QObject {
    Q_OBJECT
public:
    // What the image is handed by the window that owns the controls.
    struct Controls {
        QWidget *window; // owns the messages
        PreviewBox *preview;
        QLabel *holder; // the whole picture, out of sight
        QPushButton *loadButton, *clearButton, *saveButton;
        QLabel *fileName;   // state field: the last picture's file
        QLabel *tagInfo;    // state field: its bare name while it shows, else empty
        QWidget *focusHome; // where the focus goes back to
        platform::CommonDialog *fileDialog;
        UserActions *actions;
    };
    // The picture is one of `colors`; the state fields show it.
    BackgroundImage(const Controls &controls, ColorSet &colors);

    // Tiles the picture held by `theOriginalPic` over `theTiledPic`: the
    // holder's size is the whole picture's, its pixmap that or its top-left part.
    static void TilePicture(PreviewBox *theTiledPic, QLabel *theOriginalPic);

    // Loads the picture as "Load Image" does once a file is chosen; a file
    // that is no picture changes nothing, and the answer says why (empty
    // once the picture shows).
    QString loadPicture(const QString &path);
    // Clears the picture as "Clear Image" does.
    void clearPicture();

    // The bare file name of the picture that shows, else empty.
    QString pictureName() const;

signals:
    // A picture now covers the preview (it may be the one that did): `path`
    // is its file.
    void pictureLoaded(const QString &path);
    // The preview shows its back color again.
    void pictureCleared();

private:
    void cmdload_Click();
    void cmdclear_Click();
    void cmdsave_Click();

    Controls m;
    ColorSet &m_colors;
};
