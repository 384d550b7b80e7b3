#pragma once

#include <QString>

// The five HexColors of a page, as their hex boxes hold them.
struct BodyColors {
    QString back, text, newLink, visitedLink, activeLink;
};

// The BODY start tag on one line; the image's bare name (empty for none)
// goes into BACKGROUND, escaped for the attribute and kept on the line.
QString bodyTag(const BodyColors &colors, const QString &imageName);
