#pragma once

#include <QByteArray>
#include <QString>

// Text for an HTML attribute or element: &, <, > and " as entities.
QString htmlEscaped(const QString &text);

// ISO-8859-1 bytes; a character outside it becomes a numeric character
// reference ("&#321;"), so nothing typed is lost.
QByteArray latin1WithReferences(const QString &text);
