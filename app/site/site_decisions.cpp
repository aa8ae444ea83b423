#include "app/site/site_decisions.h"

#include "app/io/whole_file.h"
#include "app/site/recording.h"
#include "app/site/site_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <set>

namespace zarno::site {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const char kLengthColumn[] = "decided_length_m";
const char kClassColumn[] = "decided_class";

// One line of the table as its bytes: what it holds and how it ends ("\r\n", "\n" or nothing).
struct Line {
    QByteArray content;
    QByteArray end;
};

std::vector<Line> LinesOf(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', from);
        if (nl < 0) {
            lines.push_back({bytes.mid(from), {}});
            break;
        }
        const bool cr = nl > from && bytes[nl - 1] == '\r';
        lines.push_back(
            {bytes.mid(from, nl - from - (cr ? 1 : 0)), cr ? QByteArray("\r\n") : QByteArray("\n")});
        from = nl + 1;
    }
    return lines;
}

QByteArray FieldBytes(const QString& value, char sep) {
    if (!value.contains(QLatin1Char(sep)) && !value.contains('"') && value.trimmed() == value)
        return value.toUtf8();
    QString quoted = value;
    quoted.replace('"', QStringLiteral("\"\""));
    return ('"' + quoted + '"').toUtf8();
}

qsizetype ColumnOf(const QList<QByteArray>& header, const char* name) {
    for (qsizetype i = 0; i < header.size(); ++i)
        if (SiteFieldValue(header[i]).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A length as the table's own numbers are written: a decimal comma where ";" separates the fields
// (a spreadsheet of such a locale), a point where "," does.
QString LengthText(const std::optional<double>& lengthM, char sep) {
    if (!lengthM)
        return {};
    QString t = QString::number(std::round(*lengthM * 1000.0) / 1000.0, 'f', 3);
    while (t.endsWith('0'))
        t.chop(1);
    if (t.endsWith('.'))
        t.chop(1);
    if (sep == ';')
        t.replace('.', ',');
    return t;
}

void SetCell(QList<QByteArray>& fields, qsizetype column, const QByteArray& value) {
    if (column >= fields.size()) {
        if (value.isEmpty())
            return; // nothing to clear in a cell the row does not have
        while (fields.size() <= column)
            fields << QByteArray();
    }
    if (SiteFieldValue(fields[column]) != QString::fromUtf8(value)) // the same value keeps its bytes
        fields[column] = value;
}

QByteArray Joined(const QList<QByteArray>& fields, char sep) {
    return fields.join(sep);
}

QString TableMessage(const QString& what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(kSiteTableName), what);
}

} // namespace

std::optional<QByteArray> TableWithDecision(const QByteArray& table, const QString& pile,
                                            const PileDecision& decision, QString* error) {
    std::vector<Line> lines = LinesOf(table);
    const bool bom = table.startsWith(kBom);
    std::size_t h = 0;
    auto headerContent = [&](std::size_t i) {
        return i == 0 && bom ? lines[i].content.mid(kBom.size()) : lines[i].content;
    };
    while (h < lines.size() && headerContent(h).trimmed().isEmpty())
        ++h;
    if (h == lines.size()) {
        *error = TableMessage(QStringLiteral("the table is empty"));
        return std::nullopt;
    }
    const char sep = headerContent(h).contains(';') ? ';' : ',';
    QList<QByteArray> header = RawSiteFields(headerContent(h), sep);
    const qsizetype pileCol = ColumnOf(header, "pile");
    if (pileCol < 0 || ColumnOf(header, "file") < 0) {
        *error = TableMessage(QStringLiteral("the header row must name the columns pile and file"));
        return std::nullopt;
    }
    const qsizetype columnsRead = header.size();
    qsizetype lengthCol = ColumnOf(header, kLengthColumn), classCol = ColumnOf(header, kClassColumn);
    if (!decision.empty()) {
        for (auto [column, name] : {std::pair{&lengthCol, kLengthColumn}, std::pair{&classCol, kClassColumn}})
            if (*column < 0) {
                *column = header.size();
                header << QByteArray(name);
            }
    }
    const QByteArray lengthText = LengthText(decision.lengthM, sep).toUtf8();
    const QByteArray classText = ClassName(decision.cls).toUtf8();
    bool found = false;
    for (std::size_t i = h + 1; i < lines.size(); ++i) {
        if (lines[i].content.trimmed().isEmpty())
            continue;
        QList<QByteArray> fields = RawSiteFields(lines[i].content, sep);
        // A row of more fields than the header names is one the reader leaves out: it stays as it is.
        if (fields.size() > columnsRead || SiteFieldValue(fields.value(pileCol)) != pile)
            continue;
        found = true;
        if (lengthCol >= 0)
            SetCell(fields, lengthCol, lengthText);
        if (classCol >= 0)
            SetCell(fields, classCol, classText);
        lines[i].content = Joined(fields, sep);
    }
    if (!found) {
        *error = TableMessage(QStringLiteral("no row of pile \"%1\"").arg(pile));
        return std::nullopt;
    }
    if (header.size() != columnsRead)
        lines[h].content = (h == 0 && bom ? kBom : QByteArray()) + Joined(header, sep);
    QByteArray out;
    for (const Line& line : lines)
        out += line.content + line.end;
    return out;
}

namespace {

// A table listing the folder's piles as the survey sees them without one (a pile per recording,
// named by the recording), when reading it back gives exactly those piles.
std::optional<QByteArray> TableOfFolder(const QString& folder, QString* error) {
    const QStringList files = RecordingFiles(folder);
    QByteArray table = kBom + "pile;file\r\n";
    std::set<QString> piles;
    for (const QString& file : files) {
        const QString pile = QFileInfo(file).completeBaseName();
        if (!piles.insert(pile).second) {
            *error = QStringLiteral(
                         "no %1 in the folder, and one cannot be made: more than one recording is named "
                         "\"%2\", and a table would make them one pile")
                         .arg(QString::fromLatin1(kSiteTableName), pile);
            return std::nullopt;
        }
        table += FieldBytes(pile, ';') + ';' + FieldBytes(file, ';') + "\r\n";
    }
    const SiteTable read = ParseSiteTable(QString::fromUtf8(table));
    bool same = read.usable && read.messages.isEmpty() && read.rows.size() == std::size_t(files.size());
    for (std::size_t i = 0; same && i < read.rows.size(); ++i)
        same = read.rows[i].file == files[qsizetype(i)] &&
               read.rows[i].pile == QFileInfo(files[qsizetype(i)]).completeBaseName();
    if (!same) {
        *error = QStringLiteral(
                     "no %1 in the folder, and one cannot be made: a recording's name cannot be kept in it")
                     .arg(QString::fromLatin1(kSiteTableName));
        return std::nullopt;
    }
    return table;
}

} // namespace

bool StoreDecision(const QString& siteFolder, const QString& pile, const PileDecision& decision,
                   QString* error) {
    QString ignored;
    QString& why = error ? *error : ignored;
    if (decision.lengthM && !(std::isfinite(*decision.lengthM) && *decision.lengthM > 0.0)) {
        why = QStringLiteral("a decided length must be a length in metres above zero");
        return false;
    }
    if (!QFileInfo(siteFolder).isDir()) {
        why = QStringLiteral("%1 is not a folder").arg(siteFolder);
        return false;
    }
    const QString path = SiteTablePath(siteFolder);
    QByteArray before;
    if (QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            why = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        before = file.readAll();
    } else {
        if (decision.empty())
            return true; // no table, so nothing to clear
        std::optional<QByteArray> made = TableOfFolder(siteFolder, &why);
        if (!made)
            return false;
        before = *made;
    }
    const std::optional<QByteArray> after = TableWithDecision(before, pile, decision, &why);
    if (!after)
        return false;
    if (*after == before && QFileInfo::exists(path))
        return true;
    if (io::WriteWholeFile(path, *after) != io::WholeFileResult::Written) {
        why = QStringLiteral("cannot write %1; it is left as it was").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace zarno::site
