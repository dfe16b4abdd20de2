#pragma once

#include <QByteArray>
#include <QString>

namespace lumeno {

// The rich forms of a plain draft that web mail editors paste with its line breaks intact: each line a
// block of its own, empty lines kept. A single line stays inline, so that a word pasted over a word stays
// in its paragraph.
class RichText {
public:
    static QString html(const QString& plain);
    static QByteArray rtf(const QString& plain);
};

} // namespace lumeno
