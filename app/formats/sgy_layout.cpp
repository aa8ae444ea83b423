#include "app/formats/sgy_layout.h"

#include <initializer_list>
#include <set>

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

// True when the non-zero values are not all the same.
bool Disagree(std::initializer_list<qint64> values) {
    std::set<qint64> set;
    for (const qint64 v : values)
        if (v != 0)
            set.insert(v);
    return set.size() > 1;
}

// The first non-zero value, or 0.
qint64 FirstSet(std::initializer_list<qint64> values) {
    for (const qint64 v : values)
        if (v != 0)
            return v;
    return 0;
}

void ResolveInterval(const SGYBinaryHeader& binary, const SGYTraceHeader& trace, SGYLayoutResult& r) {
    const qint64 interval =
        FirstSet({binary.sampleInterval, binary.fieldSampleInterval, trace.sampleInterval});
    r.layout.sampleIntervalUs = int(interval);
    if (interval == 0)
        Refuse(r, QStringLiteral("Шаг дискретизации не указан ни в одном заголовке"));
    else if (Disagree({binary.sampleInterval, binary.fieldSampleInterval, trace.sampleInterval}))
        r.notes << QStringLiteral("Шаг дискретизации в заголовках различается: на ленте %1 мкс, на полевой "
                                  "ленте %2 мкс, в трассе 1 %3 мкс; взят %4 мкс")
                       .arg(binary.sampleInterval)
                       .arg(binary.fieldSampleInterval)
                       .arg(trace.sampleInterval)
                       .arg(interval);
}

void ResolveSamples(const SGYBinaryHeader& binary, bool littleEndian, const SGYTraceHeader& trace,
                    SGYLayoutResult& r) {
    // Before revision 2 the extended count's bytes were unassigned: whatever they hold means nothing.
    const qint64 extended = MajorRevision(binary, littleEndian) >= 2 ? binary.extendedSamplesPerTrace : 0;
    const qint64 ns = FirstSet({extended, binary.samplesPerTrace, trace.sampleCount});
    r.layout.samplesPerTrace = ns;
    if (ns <= 0) {
        Refuse(r, ns == 0 ? QStringLiteral("Число отсчётов в трассе не указано ни в одном заголовке")
                          : QStringLiteral("Неверное число отсчётов в трассе: %1").arg(ns));
        r.layout.samplesPerTrace = 0;
        return;
    }
    if (Disagree({extended, binary.samplesPerTrace, trace.sampleCount}))
        r.notes << QStringLiteral("Длина трассы в заголовках различается: на ленте %1, расширенная %2, в "
                                  "трассе 1 %3; взято %4 отсчётов")
                       .arg(binary.samplesPerTrace)
                       .arg(extended)
                       .arg(trace.sampleCount)
                       .arg(ns);
}

} // namespace

qint64 SGYFirstTraceOffset(const SGYBinaryHeader& binary, bool littleEndian) {
    const quint16 extended = binary.extendedTextualHeaders;
    if (MajorRevision(binary, littleEndian) < 1 || extended == kVariableExtendedHeaders)
        return kSGYFirstTraceOffset;
    return kSGYFirstTraceOffset + qint64(extended) * kSGYTextualHeaderSize;
}

QString UnknownSGYFormatText(quint32 formatCode) {
    return QStringLiteral("Код формата данных %1 не поддерживается").arg(formatCode);
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
        Refuse(r, QStringLiteral("Число дополнительных текстовых заголовков не указано"));
    ResolveInterval(binary, firstTrace, r);
    ResolveSamples(binary, littleEndian, firstTrace, r);
    return r;
}

} // namespace zarno
