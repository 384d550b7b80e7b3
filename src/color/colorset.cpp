#include "color/colorset.h"

ColorSet::ColorSet(QObject *parent) : QObject(parent)
{
    for (const ColorTargetInfo &t : colorTargets)
        m_colors[indexOf(t.target)] = t.defaultColor;
}

bool ColorSet::isEditable(ColorTarget target) const
{
    return target != ColorTarget::Back || !hasPicture();
}

bool ColorSet::setColor(ColorTarget target, const color::Rgb &color)
{
    if (!isEditable(target))
        return false;
    write(target, color);
    return true;
}

void ColorSet::restoreColor(ColorTarget target, const color::Rgb &color)
{
    write(target, color);
}

void ColorSet::write(ColorTarget target, const color::Rgb &color)
{
    color::Rgb &now = m_colors[indexOf(target)];
    if (now == color)
        return;
    now = color;
    emit colorChanged(target);
}

void ColorSet::setPicture(const QString &path)
{
    if (path == m_picture)
        return;
    m_picture = path;
    if (!path.isEmpty())
        restorePictureFile(path);
    emit pictureChanged();
}

void ColorSet::restorePictureFile(const QString &path)
{
    if (path == m_pictureFile)
        return;
    m_pictureFile = path;
    emit pictureFileChanged();
}
