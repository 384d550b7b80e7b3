#pragma once

#include <QByteArray>
#include <QString>

// Text for an HTML attribute or element: &, <, > and " as entities.
QString htmlEscaped(const QString &text);

// The same, kept on one line: a line break in it (pasted, or in a file name)
// would split the page's line, so it is written as a character reference.
QString htmlEscapedInLine(const QString &text);

// ISO-8859-1 bytes; a character outside it becomes a numeric character
// reference ("&#321;"), so nothing typed is lost.
QByteArray latin1WithReferences(const QString &text);
