#pragma once

#include "color/colortargets.h"
#include "color/rgb.h"

#include <QObject>
#include <QString>

#include <array>

// The five colors of the page being made and its background picture. The
// main window owns the one instance; every control that shows a color or
// the picture, the hidden state fields included, is kept in step with it.
class ColorSet : public QObject {
    Q_OBJECT
public:
    explicit ColorSet(QObject *parent = nullptr);

    color::Rgb color(ColorTarget target) const { return m_colors[indexOf(target)]; }

    // A picture covers the back color, which then keeps the color it has.
    bool isEditable(ColorTarget target) const;
    // False, and nothing changes, where the target is not editable.
    bool setColor(ColorTarget target, const color::Rgb &color);
    // Undo and redo: any target takes the color, the back color under a
    // picture too.
    void restoreColor(ColorTarget target, const color::Rgb &color);

    // The picture that covers the preview: its file, empty for none.
    const QString &picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isEmpty(); }
    // The last picture's file, kept after a clear.
    const QString &pictureFile() const { return m_pictureFile; }
    // The picture at `path` now covers the preview (empty: none); its file
    // also becomes the last one.
    void setPicture(const QString &path);
    // Undo and redo of a cleared picture: the last file as it was then.
    void restorePictureFile(const QString &path);

signals:
    // Once per change of a target's color, after it.
    void colorChanged(ColorTarget target);
    // Once per change of the picture that covers the preview.
    void pictureChanged();
    // Once per change of the last picture's file; a new picture says this first.
    void pictureFileChanged();

private:
    void write(ColorTarget target, const color::Rgb &color);

    std::array<color::Rgb, colorTargets.size()> m_colors;
    QString m_picture;
    QString m_pictureFile;
};
