#include "gridtools.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "savefile.h"

#include <xlsxwriter.h>
#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <cmath>
#include <cstdio>

namespace gridfile {

void ErrorBox(const QString& text)
{
    DialogService::ask(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

namespace {

const QByteArray kMagic = "KVT515 Grid File 1";

void appendCell(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
            break;
        }
    }
}

// Splits one line into its cells, undoing the escapes; nothing for a stray escape.
std::optional<QStringList> splitLine(const QByteArray& line)
{
    QStringList cells;
    QByteArray cell;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            cells << QString::fromUtf8(cell);
            cell.clear();
        } else if (c == '\\') {
            if (++i >= line.size())
                return std::nullopt;
            switch (line[i]) {
            case '\\':
                cell += '\\';
                break;
            case 't':
                cell += '\t';
                break;
            case 'n':
                cell += '\n';
                break;
            case 'r':
                cell += '\r';
                break;
            default:
                return std::nullopt;
            }
        } else {
            cell += c;
        }
    }
    cells << QString::fromUtf8(cell);
    return cells;
}

bool readCount(const QByteArray& text, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0 && text == QByteArray::number(value);
}

}  // namespace

QByteArray Encode(const QAbstractItemModel& model)
{
    const int columns = model.columnCount();
    const int rows = model.rowCount();
    QByteArray out;
    out.reserve(64 + static_cast<qsizetype>(rows) * columns * 8);
    out += kMagic;
    out += '\n';
    out += QByteArray::number(columns) + '\t' + QByteArray::number(rows) + '\n';
    for (int c = 0; c < columns; ++c) {
        if (c)
            out += '\t';
        appendCell(out, model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    out += '\n';
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c)
                out += '\t';
            appendCell(out, model.data(model.index(r, c), Qt::DisplayRole).toString());
        }
        out += '\n';
    }
    return out;
}

std::optional<Cells> Decode(const QByteArray& document, QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<Cells> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!document.endsWith('\n'))
        return fail(QStringLiteral("the file is cut short"));
    QList<QByteArray> lines = document.split('\n');
    lines.removeLast();  // after the final line feed
    if (lines.size() < 3 || lines[0] != kMagic)
        return fail(QStringLiteral("not a grid file"));
    const QList<QByteArray> counts = lines[1].split('\t');
    int columns = 0, rows = 0;
    if (counts.size() != 2 || !readCount(counts[0], columns) || !readCount(counts[1], rows) || columns == 0)
        return fail(QStringLiteral("bad column or row count"));
    if (lines.size() != rows + 3)
        return fail(QStringLiteral("%1 rows announced, %2 found").arg(rows).arg(lines.size() - 3));
    Cells cells;
    cells.rows.reserve(static_cast<std::size_t>(rows));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        std::optional<QStringList> line = splitLine(lines[i]);
        if (!line || line->size() != columns)
            return fail(QStringLiteral("line %1 does not hold %2 cells").arg(i + 1).arg(columns));
        if (i == 2)
            cells.headers = std::move(*line);
        else
            cells.rows.push_back(std::move(*line));
    }
    return cells;
}

bool Save(const QString& path, const QAbstractItemModel& model, QString* error)
{
    const QByteArray document = Encode(model);
    return savefile::WriteWhole(path, document, error);
}

std::optional<Cells> Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is larger than 256 MB");
        return std::nullopt;
    }
    return Decode(file.readAll(), error);
}

}  // namespace gridfile

namespace gridexport {

namespace {

// A cell whose whole text is a finite number goes to the sheet as that number.
bool wholeNumber(const QByteArray& text, double& value)
{
    if (text.size() > 64)
        return false;
    const std::optional<double> number =
        numtext::tryStrToFiniteFloat(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (number)
        value = *number;
    return number.has_value();
}

}  // namespace

bool SaveXlsx(const QString& path, const QAbstractItemModel& model, const std::vector<int>& columns, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo target(path);
    // libxlsxwriter writes to a path of its own: build the workbook beside the target and move it
    // over the target only once it is whole.
    QTemporaryFile temporary(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary.open())
        return fail(temporary.errorString());
    const QString temporaryPath = temporary.fileName();
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                             QFileDevice::ReadOther);
    temporary.close();

    lxw_workbook_options options{};
    options.constant_memory = 1;  // rows go to disk as they are written
    const QByteArray nativePath = QFile::encodeName(temporaryPath);
    lxw_workbook* workbook = workbook_new_opt(nativePath.constData(), &options);
    if (!workbook)
        return fail(QStringLiteral("cannot create the workbook"));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_error status = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;

    auto put = [&](lxw_row_t row, lxw_col_t col, const QString& text) {
        if (status != LXW_NO_ERROR || text.isEmpty())
            return;
        const QByteArray utf8 = text.toUtf8();
        double number = 0;
        if (wholeNumber(utf8, number))
            status = worksheet_write_number(sheet, row, col, number, nullptr);
        else
            status = worksheet_write_string(sheet, row, col, utf8.constData(), nullptr);
    };
    const int rows = model.rowCount();
    if (rows + 1 > LXW_ROW_MAX)
        status = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
    for (std::size_t c = 0; c < columns.size(); ++c)
        put(0, static_cast<lxw_col_t>(c), model.headerData(columns[c], Qt::Horizontal, Qt::DisplayRole).toString());
    for (int r = 0; r < rows && status == LXW_NO_ERROR; ++r)
        for (std::size_t c = 0; c < columns.size(); ++c)
            put(static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c),
                model.data(model.index(r, columns[c]), Qt::DisplayRole).toString());
    const lxw_error closed = workbook_close(workbook);
    if (status == LXW_NO_ERROR)
        status = closed;
    if (status != LXW_NO_ERROR) {
        QFile::remove(temporaryPath);
        return fail(QString::fromUtf8(lxw_strerror(status)));
    }
    if (std::rename(nativePath.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        QFile::remove(temporaryPath);
        return fail(QStringLiteral("cannot replace %1").arg(path));
    }
    return true;
}

namespace {

void appendCsvCell(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r')) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

QByteArray EncodeCsv(const QAbstractItemModel& model, const std::vector<int>& columns)
{
    QByteArray out;
    const int rows = model.rowCount();
    out.reserve(static_cast<qsizetype>(rows + 1) * static_cast<qsizetype>(columns.size()) * 12);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c)
            out += ',';
        appendCsvCell(out, model.headerData(columns[c], Qt::Horizontal, Qt::DisplayRole).toString());
    }
    out += "\r\n";
    for (int r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c)
                out += ',';
            appendCsvCell(out, model.data(model.index(r, columns[c]), Qt::DisplayRole).toString());
        }
        out += "\r\n";
    }
    return out;
}

bool SaveCsv(const QString& path, const QAbstractItemModel& model, const std::vector<int>& columns, QString* error)
{
    const QByteArray document = EncodeCsv(model, columns);
    return savefile::WriteWhole(path, document, error);
}

QString SelectionText(const QAbstractItemModel& model, const QModelIndexList& selected,
                      const std::function<bool(int column)>& columnShown)
{
    if (selected.isEmpty())
        return {};
    int top = selected.first().row(), bottom = top;
    int left = selected.first().column(), right = left;
    QSet<quint64> chosen;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
        chosen.insert((static_cast<quint64>(index.row()) << 32) | static_cast<quint32>(index.column()));
    }
    QString text;
    for (int r = top; r <= bottom; ++r) {
        bool first = true;
        for (int c = left; c <= right; ++c) {
            if (columnShown && !columnShown(c))
                continue;
            if (!first)
                text += '\t';
            first = false;
            if (chosen.contains((static_cast<quint64>(r) << 32) | static_cast<quint32>(c)))
                text += model.data(model.index(r, c), Qt::DisplayRole).toString();
        }
        text += '\n';
    }
    return text;
}

}  // namespace gridexport
