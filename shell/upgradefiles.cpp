#include "upgradefiles.h"

#include <QStringList>

namespace upgradefiles {

QString SafeNamePiece(const QString& text)
{
    QString piece;
    piece.reserve(text.size());
    for (const QChar c : text) {
        const bool unsafe = c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control ||
                            QStringLiteral("/\\:*?\"<>|").contains(c);
        piece += unsafe ? QChar('_') : c;
    }
    // Dots alone never climb out of the folder once the separators are gone, but a name made of
    // them reads as a path to people and tools alike.
    while (piece.contains(QLatin1String("..")))
        piece.replace(QLatin1String(".."), QLatin1String("_"));
    return piece;
}

QString MergeCopyName(const QString& id, const QString& site, const QString& location, const QDateTime& moment,
                      const char* ending)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    QStringList pieces{SafeNamePiece(id), SafeNamePiece(site), SafeNamePiece(location)};
    for (const int n : {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()})
        pieces << QString::number(n);
    return pieces.join('_') + QLatin1String(ending);
}

}  // namespace upgradefiles
