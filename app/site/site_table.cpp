#include "app/site/site_table.h"

#include <QDir>

#include <cmath>
#include <map>

namespace zarno::site {

namespace {

// Splits one line at sep into what its fields hold.
QStringList SplitFields(const QString& line, QChar sep) {
    QStringList fields;
    for (const QByteArray& raw : RawSiteFields(line.toUtf8(), char(sep.unicode())))
        fields << SiteFieldValue(raw);
    return fields;
}

// The separator is the one the header row uses: a header naming its columns needs no decimal
// comma, so a ";" there means semicolons throughout.
QChar SeparatorOf(const QString& header) {
    return header.contains(';') ? QChar(';') : QChar(',');
}

struct Columns {
    std::map<QString, qsizetype> at;
    qsizetype of(const char* name) const {
        const auto it = at.find(QString::fromLatin1(name));
        return it == at.end() ? -1 : it->second;
    }
};

QString Field(const QStringList& fields, qsizetype column) {
    return column >= 0 && column < fields.size() ? fields[column] : QString();
}

QString LineMessage(int line, const QString& what) {
    return QStringLiteral("%1 line %2: %3").arg(QString::fromLatin1(kSiteTableName)).arg(line).arg(what);
}

// The engineer's decisions of a row. One that cannot be read is named and left out; the row's
// recording still belongs to its pile.
void TakeDecisions(SiteRow& row, const QStringList& fields, qsizetype lengthCol, qsizetype classCol,
                   QStringList& messages) {
    bool bad = false;
    row.decidedLengthM = ParseSiteNumber(Field(fields, lengthCol), &bad);
    if (bad)
        messages << LineMessage(row.line, QStringLiteral("decided_length_m \"%1\" is not a length in metres; "
                                                         "it is left out")
                                              .arg(Field(fields, lengthCol)));
    const QString cls = Field(fields, classCol);
    const std::optional<PileClass> c = ParseClassName(cls);
    if (!c)
        messages << LineMessage(row.line,
                                QStringLiteral("decided_class \"%1\" is not a class I to IV; it is left out").arg(cls));
    row.decidedClass = c.value_or(PileClass::None);
}

} // namespace

QString SiteTablePath(const QString& folder) {
    const QDir dir(folder);
    const QString name = QString::fromLatin1(kSiteTableName);
    if (dir.exists(name))
        return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

QList<QByteArray> RawSiteFields(const QByteArray& line, char sep) {
    QList<QByteArray> fields;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted; // a doubled quote inside quotes turns it off and on again
        else if (line[i] == sep && !quoted) {
            fields << line.mid(start, i - start);
            start = i + 1;
        }
    }
    fields << line.mid(start);
    return fields;
}

QString SiteFieldValue(const QByteArray& raw) {
    QString value;
    const QString text = QString::fromUtf8(raw);
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            value += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else {
            value += c;
        }
    }
    return value.trimmed();
}

std::optional<double> ParseSiteNumber(const QString& text, bool* bad) {
    *bad = false;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QString normal = t;
    normal.replace(',', '.');
    bool ok = false;
    const double v = normal.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0.0) {
        *bad = true;
        return std::nullopt;
    }
    return v;
}

SiteTable ParseSiteTable(const QString& input) {
    SiteTable table;
    QString text = input;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split('\n');
    qsizetype headerLine = 0;
    while (headerLine < lines.size() && lines[headerLine].trimmed().isEmpty())
        ++headerLine;
    if (headerLine == lines.size()) {
        table.usable = false;
        table.messages << QStringLiteral("%1 is empty").arg(QString::fromLatin1(kSiteTableName));
        return table;
    }
    const QChar sep = SeparatorOf(lines[headerLine]);
    Columns columns;
    const QStringList names = SplitFields(lines[headerLine].trimmed(), sep);
    for (qsizetype i = 0; i < names.size(); ++i)
        columns.at.emplace(names[i].toLower(), i);
    const qsizetype pileCol = columns.of("pile"), fileCol = columns.of("file");
    if (pileCol < 0 || fileCol < 0) {
        table.usable = false;
        table.messages << LineMessage(int(headerLine) + 1,
                                      QStringLiteral("the header row must name the columns pile and file"));
        return table;
    }
    const qsizetype designCol = columns.of("design_length_m"), knownCol = columns.of("known_length_m"),
                    noteCol = columns.of("note"), decidedLengthCol = columns.of("decided_length_m"),
                    decidedClassCol = columns.of("decided_class");
    for (qsizetype i = headerLine + 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const int number = int(i) + 1;
        const QStringList fields = SplitFields(line, sep);
        if (fields.size() > names.size()) {
            // Most often a decimal comma without quotes in a comma-separated file: which field is
            // which cannot be told.
            table.messages << LineMessage(
                number, QStringLiteral("more fields than the header row names; the row is left out"));
            continue;
        }
        SiteRow row{number, Field(fields, pileCol), Field(fields, fileCol), {}, {}, Field(fields, noteCol), {}, PileClass::None};
        if (row.pile.isEmpty() || row.file.isEmpty()) {
            table.messages << LineMessage(number, QStringLiteral("no pile or no file; the row is left out"));
            continue;
        }
        bool badDesign = false, badKnown = false;
        row.designLengthM = ParseSiteNumber(Field(fields, designCol), &badDesign);
        row.knownLengthM = ParseSiteNumber(Field(fields, knownCol), &badKnown);
        if (badDesign || badKnown) {
            table.messages << LineMessage(
                number, QStringLiteral("\"%1\" is not a length in metres; the row is left out")
                            .arg(badDesign ? Field(fields, designCol) : Field(fields, knownCol)));
            continue;
        }
        TakeDecisions(row, fields, decidedLengthCol, decidedClassCol, table.messages);
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace zarno::site
