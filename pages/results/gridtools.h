#pragma once

#include <QModelIndexList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QAbstractItemModel;

// The file, export and clipboard tools the log grids share (archive *.tvar, events *.tvau).
// They read any table model through its display texts, so they work on the rows a filter shows.

// The grid file: the grid's header texts and the cells of its rows, UTF-8 text:
//   line 1  "KVT515 Grid File 1"
//   line 2  the column count and the row count, separated by a tab
//   then    the header line and one line per row, each holding exactly that many cells
//           separated by tabs; a backslash, tab, line feed or carriage return within a cell is
//           written \\, \t, \n or \r
namespace gridfile {

// The grids' error box: "Error", critical, OK.
void ErrorBox(const QString& text);

inline constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

struct Cells {
    QStringList headers;
    std::vector<QStringList> rows;
};

QByteArray Encode(const QAbstractItemModel& model);
// Nothing (and the reason) when the document is not a whole, consistent grid file.
std::optional<Cells> Decode(const QByteArray& document, QString* error);

// Written atomically: a failed save leaves an existing file as it was.
bool Save(const QString& path, const QAbstractItemModel& model, QString* error);
// Files above kMaxFileSize are refused unread.
std::optional<Cells> Load(const QString& path, QString* error);

}  // namespace gridfile

namespace gridexport {

// A spreadsheet (.xlsx) with one sheet: the headers of the given columns in its first row, the
// table's rows below. A cell whose whole text is a number (C notation) is written as a number,
// any other as text. The file replaces an existing one only once it is complete.
bool SaveXlsx(const QString& path, const QAbstractItemModel& model, const std::vector<int>& columns, QString* error);

// A CSV file: the headers of the given columns, then the table's rows, one line each, cells
// separated by commas; a cell holding a comma, a double quote or a line break is quoted, its
// quotes doubled. Lines end in CR LF. Written atomically.
QByteArray EncodeCsv(const QAbstractItemModel& model, const std::vector<int>& columns);
bool SaveCsv(const QString& path, const QAbstractItemModel& model, const std::vector<int>& columns, QString* error);

// The selected cells as text: the rows and columns the selection spans (in the given columns
// only), cells separated by tabs, rows ended by a line feed. Empty for no selection.
QString SelectionText(const QAbstractItemModel& model, const QModelIndexList& selected,
                      const std::function<bool(int column)>& columnShown);

}  // namespace gridexport
