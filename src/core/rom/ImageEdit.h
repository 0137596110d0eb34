#pragma once

#include <QByteArray>
#include <QString>

// Where an edit happened, so that undoing it can show that place first. -1
// where a field does not apply (a colour has no tile, a tile no palette).
struct CEditSite
{
    int actor = -1;
    int tile = -1;
    int battle = -1; // 1 battle bank, 0 overworld bank
    int palette = -1;

    bool operator==(const CEditSite&) const = default;
};

// One change of image bytes: the new bytes for the buffer from offset on, with
// the text the Edit menu shows for it ("Fill tile") and where it happened.
struct CImageEdit
{
    qint64 offset = 0;
    QByteArray bytes;
    QString label;
    CEditSite site;
};
