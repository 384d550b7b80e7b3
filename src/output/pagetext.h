#pragma once

#include <QString>

// The maker's home page, linked from every generated page's footer.
QString homePageAddress();

// The template page: 41 lines, each ended by CR LF. Name and title are
// escaped for HTML; an exactly empty title becomes "Untitled". The tag is
// taken as it stands (the user may have edited it), only any line break in
// it written as CR LF.
QString pageText(const QString &name, const QString &title, const QString &tag);

// The messages that end a click of "&Ready!".
QString pageDoneText();
QString pageWriteFailedText(const QString &path, const QString &reason);
QString imageCopyFailedText(const QString &destination, const QString &reason);
// The reason an image is not copied beside a page that has its name.
QString imageNamedLikePageText();
