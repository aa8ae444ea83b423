#include "app/formats/sgy_layout.h"

#include <QCoreApplication>

#include <algorithm>
#include <initializer_list>

namespace zarno {

namespace {

// A revision 2 file carries its variable number of extended textual headers as -1; finding their
// end means scanning for the closing stanza, which no file of ours needs.
constexpr quint16 kVariableExtendedHeaders = 0xFFFF;

// The major revision is the first byte of the field whatever the file's byte order; the field was
// decoded in that order, so the first byte is the high one only for a big-endian file.
int MajorRevision(const SGYBinaryHeader& binary, bool littleEndian) {
    return littleEndian ? (binary.formatRevision & 0xFF) : (binary.formatRevision >> 8);
}

// The first reason found is the one the user is told.
void Refuse(SGYLayoutResult& r, const QString& reason) {
    if (r.refusal.isEmpty())
        r.refusal = reason;
}

// One header field that may give a value, and where it is, as the note names it.
struct Given {
    const char* where;
    qint64 value; // 0: not given
};

// The first value given, 0 when none is; when the values given are not all the same, a note names
// each of them and the one taken.
qint64 FirstGiven(std::initializer_list<Given> fields, const QString& what, const QString& unit,
                  QStringList& notes) {
    qint64 taken = 0;
    QStringList given;
    bool disagree = false;
    for (const Given& f : fields) {
        if (f.value == 0)
            continue;
        if (taken == 0)
            taken = f.value;
        disagree = disagree || f.value != taken;
        given << QStringLiteral("%1 %2 %3")
                     .arg(QCoreApplication::translate("zarno::Formats", f.where))
                     .arg(f.value)
                     .arg(unit);
    }
    if (disagree)
        notes << QCoreApplication::translate("zarno::Formats",
                                             "%1 в заголовках различается: %2; используется %3 %4")
                     .arg(what, given.join(QStringLiteral(", ")))
                     .arg(taken)
                     .arg(unit);
    return taken;
}

void ResolveInterval(const SGYBinaryHeader& binary, const SGYTraceHeader& trace, SGYLayoutResult& r) {
    const qint64 interval =
        FirstGiven({{QT_TRANSLATE_NOOP("zarno::Formats", "на ленте"), binary.sampleInterval},
                    {QT_TRANSLATE_NOOP("zarno::Formats", "на полевой ленте"), binary.fieldSampleInterval},
                    {QT_TRANSLATE_NOOP("zarno::Formats", "в трассе 1"), trace.sampleInterval}},
                   QCoreApplication::translate("zarno::Formats", "Шаг дискретизации"),
                   QCoreApplication::translate("zarno::Formats", "мкс"), r.notes);
    r.layout.sampleIntervalUs = int(interval);
    if (interval == 0)
        Refuse(r, QCoreApplication::translate("zarno::Formats",
                                              "Шаг дискретизации не указан ни в одном заголовке"));
}

void ResolveSamples(const SGYBinaryHeader& binary, bool littleEndian, const SGYTraceHeader& trace,
                    SGYLayoutResult& r) {
    // Before revision 2 the extended count's bytes were unassigned: whatever they hold means nothing.
    const qint64 extended = MajorRevision(binary, littleEndian) >= 2 ? binary.extendedSamplesPerTrace : 0;
    const qint64 ns = FirstGiven({{QT_TRANSLATE_NOOP("zarno::Formats", "в расширенном поле"), extended},
                                  {QT_TRANSLATE_NOOP("zarno::Formats", "на ленте"), binary.samplesPerTrace},
                                  {QT_TRANSLATE_NOOP("zarno::Formats", "в трассе 1"), trace.sampleCount}},
                                 QCoreApplication::translate("zarno::Formats", "Длина трассы"),
                                 QCoreApplication::translate("zarno::Formats", "отсчётов"), r.notes);
    r.layout.samplesPerTrace = std::max<qint64>(ns, 0);
    if (ns == 0)
        Refuse(r, QCoreApplication::translate("zarno::Formats",
                                              "Число отсчётов в трассе не указано ни в одном заголовке"));
    else if (ns < 0)
        Refuse(r,
               QCoreApplication::translate("zarno::Formats", "Неверное число отсчётов в трассе: %1").arg(ns));
}

} // namespace

qint64 SGYFirstTraceOffset(const SGYBinaryHeader& binary, bool littleEndian) {
    const quint16 extended = binary.extendedTextualHeaders;
    if (MajorRevision(binary, littleEndian) < 1 || extended == kVariableExtendedHeaders)
        return kSGYFirstTraceOffset;
    return kSGYFirstTraceOffset + qint64(extended) * kSGYTextualHeaderSize;
}

QString UnknownSGYFormatText(quint32 formatCode) {
    return QCoreApplication::translate("zarno::Formats", "Код формата данных %1 не поддерживается")
        .arg(formatCode);
}

SGYLayoutResult ResolveSGYLayout(const SGYBinaryHeader& binary, bool littleEndian,
                                 const SGYTraceHeader& firstTrace) {
    SGYLayoutResult r;
    SGYLayout& l = r.layout;
    l.littleEndian = littleEndian;
    l.formatCode = binary.formatCode;
    l.sampleBytes = SGYSampleBytes(binary.formatCode);
    l.traceCount = binary.tracesPerRecord;
    l.firstTraceOffset = SGYFirstTraceOffset(binary, littleEndian);
    if (l.sampleBytes == 0)
        Refuse(r, UnknownSGYFormatText(binary.formatCode));
    if (MajorRevision(binary, littleEndian) >= 1 && binary.extendedTextualHeaders == kVariableExtendedHeaders)
        Refuse(r, QCoreApplication::translate("zarno::Formats",
                                              "Число дополнительных текстовых заголовков не указано"));
    ResolveInterval(binary, firstTrace, r);
    ResolveSamples(binary, littleEndian, firstTrace, r);
    return r;
}

} // namespace zarno
