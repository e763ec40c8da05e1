#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One entry of the TCP address book.
struct _item {
    QString address;
    QString description;
    int port = 0;
};

// The TCP address book: the analyzers reached over TCP before, in the order of its file
// "addrInfo.cfg" (one line an entry: address, description and port separated by commas).
class PortAddrMgr {
public:
    virtual ~PortAddrMgr() = default;

    // Empties the book and reads the file: 0 when read, -1 when it cannot be opened or read
    // (the book is then empty). Lines that are not an entry are skipped.
    int Load(const QString& fileName);
    // Replaces the file with every entry in book order: 0 when written, -1 when the file cannot
    // be written (the old file is then left as it was).
    int Save(const QString& fileName) const;

    int Count() const { return static_cast<int>(items_.size()); }
    // Callers pass only existing positions; any other gives an empty entry.
    _item Get(int position) const;
    void Add(const QString& address, const QString& description, int port);
    // Empty book: appends; 0..Count-1: inserts before that entry; otherwise nothing.
    void Insert(int position, const QString& address, const QString& description, int port);
    void Set(int position, const QString& address, const QString& description, int port);
    void Remove(int position);
    // Exact comparison: same length, same characters, case counts.
    int IndexOfAddress(const QString& address) const;
    bool ContainsAddress(const QString& address) const { return IndexOfAddress(address) >= 0; }

    // One stored line as an entry: the address is the text before the first comma, the port
    // the text after the last one and the description everything between (commas included).
    // False for a line with fewer than two commas.
    static bool ParseLine(const QString& line, _item& item);
    // The leading decimal number of a text (blanks, a sign, digits), 0 when there is none or it
    // does not fit an int: a service name such as "telnet" is 0, "23x" is 23.
    static int LeadingNumber(const QString& text);

    // "addrInfo.cfg" in the program's data directory.
    static QString DefaultFileName();

private:
    bool valid(int position) const { return position >= 0 && position < Count(); }

    std::vector<_item> items_;
};

// Splits a text at every occurrence of a delimiter. A text without the delimiter yields no
// tokens at all; otherwise the text after the last delimiter is the last token.
class SearchToken {
public:
    SearchToken(const QString& source, const QString& delimiter);
    virtual ~SearchToken() = default;

    int Count() const { return static_cast<int>(tokens_.size()); }
    // Token i; the empty text when i is not below the count.
    QString Token(int index) const;

private:
    QString source_;
    QString remaining_;
    QStringList tokens_;
    int lastDelimiter_ = -1;
    QString delimiter_;
};
