#include "app/formats/sgy_headers.h"

#include <QCoreApplication>
#include <QtEndian>

#include <cstring>
#include <type_traits>

namespace zarno {

// The records are copied byte by byte at the table's offsets, so their layout must match the file.
static_assert(std::is_standard_layout_v<SGYBinaryHeader> && std::is_trivially_copyable_v<SGYBinaryHeader>);
static_assert(std::is_standard_layout_v<SGYTraceHeader> && std::is_trivially_copyable_v<SGYTraceHeader>);
static_assert(sizeof(SGYBinaryHeader) == kSGYBinaryHeaderSize);
static_assert(offsetof(SGYBinaryHeader, tracesPerRecord) == 12);
static_assert(offsetof(SGYBinaryHeader, formatCode) == 24);
static_assert(offsetof(SGYBinaryHeader, verticalSumCode) == 30);
static_assert(offsetof(SGYBinaryHeader, measurementSystem) == 54);
static_assert(offsetof(SGYBinaryHeader, extendedSamplesPerTrace) == 68);
static_assert(offsetof(SGYBinaryHeader, formatRevision) == 300);
static_assert(offsetof(SGYBinaryHeader, extendedTextualHeaders) == 304);
static_assert(offsetof(SGYTraceHeader, traceId) == 28);
static_assert(offsetof(SGYTraceHeader, sourceReceiverDistance) == 36);
static_assert(offsetof(SGYTraceHeader, elevationScalar) == 68);
static_assert(offsetof(SGYTraceHeader, sourceX) == 72);
static_assert(offsetof(SGYTraceHeader, coordinateUnits) == 88);
static_assert(offsetof(SGYTraceHeader, gainConstant) == 120);
static_assert(sizeof(SGYTraceHeader) >= 122);

namespace {

constexpr SGYField I32(quint16 offset, const char* label) {
    return {offset, 4, true, label};
}
constexpr SGYField U16(quint16 offset, const char* label) {
    return {offset, 2, false, label};
}

constexpr SGYField kBinaryFields[] = {
    I32(0, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Идентификационный номер работы")),
    I32(4, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Номер профиля")),
    I32(8, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Номер ленты")),
    U16(12, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Число трасс в магнитограмме")),
    U16(14, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Число дополнительных трасс в магнитограмме")),
    U16(16, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Шаг дискретизации в мкс на ленте")),
    U16(18, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Шаг дискретизации в мкс на полевой ленте")),
    U16(20, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Длина трассы в дискретах на ленте")),
    U16(22, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Длина трассы в дискретах на полевой ленте")),
    U16(24, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Код формата данных в трассе")),
    U16(26, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Кратность ОГТ")),
    U16(28, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "Код сортировки трасс")),
    U16(30, nullptr),
    U16(54, nullptr),
    U16(56, nullptr),
    I32(68, nullptr),
    U16(300, nullptr),
    U16(302, nullptr),
    U16(304, nullptr),
};

constexpr SGYField kTraceFields[] = {
    I32(0, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ ПО ВСЕМ ЛЕНТАМ")),
    I32(4, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ НА ЛЕНТЕ")),
    I32(8, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ФИЗИЧЕСКИЙ НОМЕР ПОЛЕВОЙ МАГНИТОГРАММЫ (МГ)")),
    I32(12, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "НОМЕР ТРАССЫ В ПОЛЕВОЙ МГ")),
    I32(16, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "НОМЕР ПВ")),
    I32(20, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "НОМЕР ВЫБОРКИ ОГТ")),
    I32(24, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "НОМЕР ТРАССЫ В ВЫБОРКЕ ОГТ")),
    U16(28, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КОД ТРАССЫ")),
    U16(30, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ЧИСЛО НАКАПЛИВАНИЙ")),
    U16(32, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КРАТНОСТЬ СУММИРОВАНИЯ")),
    U16(34, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ХАРАКТЕР ДАННЫХ")),
    I32(36, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "РАССТОЯНИЕ МЕЖДУ ПВ И ЦЕНТРОМ ГРУППЫ")),
    I32(40, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "АЛЬТИТУДА ЦЕНТРА ГРУППЫ")),
    I32(44, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "АЛЬТИТУДА ПВ")),
    I32(48, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ГЛУБИНА ВЗРЫВА ОТ ПОВЕРХНОСТИ")),
    I32(52, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "РЕЛЬЕФ В ПП")),
    I32(56, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "РЕЛЬЕФ В ПВ")),
    I32(60, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "УГВ ПВ")),
    I32(64, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "УГВ ПП")),
    // Both scalars carry the same label in the viewer.
    U16(68, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "МАСШТАБНЫЙ КОЭФФИЦИЕНТ ДЛЯ ЗНАЧЕНИЙ")),
    U16(70, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "МАСШТАБНЫЙ КОЭФФИЦИЕНТ ДЛЯ ЗНАЧЕНИЙ")),
    I32(72, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КООРДИНАТА X ПВ")),
    I32(76, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КООРДИНАТА Y ПВ")),
    I32(80, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КООРДИНАТА X ПП")),
    I32(84, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КООРДИНАТА Y ПП")),
    U16(88, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "РАЗМЕРНОСТЬ КООРДИНАТ")),
    U16(90, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "СКОРОСТЬ В ЗМС")),
    U16(92, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "СКОРОСТЬ В КОРЕННЫХ ПОРОДАХ")),
    U16(94, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПВ")),
    U16(96, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПП")),
    U16(98, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "СТАТИЧЕСКАЯ ПОПРАВКА В ПВ")),
    U16(100, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "СТАТИЧЕСКАЯ ПОПРАВКА В ПП")),
    U16(102, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "СУММАРНАЯ СТАТИКА")),
    U16(104, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ВРЕМЯ ЗАДЕРЖКИ A")),
    U16(106, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ВРЕМЯ ЗАДЕРЖКИ B")),
    U16(108, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ЗАДЕРЖКА НАЧАЛА ЗАПИСИ ОТНОСИТЕЛЬНО НАЧАЛА Tвз")),
    U16(110, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "НАЧАЛО МЬЮТИНГА")),
    U16(112, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "КОНЕЦ МЬЮТИНГА")),
    U16(114, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ЧИСЛО ОТСЧЕТОВ В ТРАССЕ")),
    U16(116, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ШАГ ДИСКРЕТИЗАЦИИ В mks")),
    U16(118, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ФОРМАТ ПОЛЕВОЙ ЗАПИСИ")),
    U16(120, QT_TRANSLATE_NOOP("zarno::SgyHeaders", "ПОСТОЯННОЕ АППАРАТНОЕ УСИЛЕНИЕ")),
};
static_assert(std::size(kBinaryFields) == 19);
static_assert(std::size(kTraceFields) == 42);

template <typename Record> qint64 ValueAt(const Record& record, const SGYField& field) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record) + field.offset;
    if (field.width == 4) {
        qint32 v;
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
    quint16 v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

template <typename Record> void SetValueAt(Record& record, const SGYField& field, qint64 value) {
    auto* bytes = reinterpret_cast<unsigned char*>(&record) + field.offset;
    if (field.width == 4) {
        const auto v = static_cast<qint32>(value);
        std::memcpy(bytes, &v, sizeof v);
    } else {
        const auto v = static_cast<quint16>(value);
        std::memcpy(bytes, &v, sizeof v);
    }
}

// Stores each table field of the record into bytes at its offset, in the chosen byte order.
template <typename Record, std::size_t N>
std::array<quint8, N> Encode(const Record& record, std::span<const SGYField> fields, bool littleEndian) {
    std::array<quint8, N> bytes{};
    for (const SGYField& f : fields) {
        quint8* at = bytes.data() + f.offset;
        const qint64 value = ValueAt(record, f);
        if (f.width == 4) {
            const auto v = static_cast<quint32>(value);
            littleEndian ? qToLittleEndian(v, at) : qToBigEndian(v, at);
        } else {
            const auto v = static_cast<quint16>(value);
            littleEndian ? qToLittleEndian(v, at) : qToBigEndian(v, at);
        }
    }
    return bytes;
}

template <typename Record>
void Decode(const quint8* bytes, std::span<const SGYField> fields, bool littleEndian, Record& record) {
    for (const SGYField& f : fields) {
        const quint8* at = bytes + f.offset;
        if (f.width == 4) {
            const quint32 v = littleEndian ? qFromLittleEndian<quint32>(at) : qFromBigEndian<quint32>(at);
            SetValueAt(record, f, static_cast<qint32>(v));
        } else {
            const quint16 v = littleEndian ? qFromLittleEndian<quint16>(at) : qFromBigEndian<quint16>(at);
            SetValueAt(record, f, v);
        }
    }
}

template <typename Record>
std::vector<SGYHeaderRow> Rows(const Record& record, std::span<const SGYField> fields) {
    std::vector<SGYHeaderRow> rows;
    for (const SGYField& f : fields)
        if (f.label)
            rows.push_back(
                {f.offset, QCoreApplication::translate("zarno::SgyHeaders", f.label), ValueAt(record, f)});
    return rows;
}

} // namespace

std::span<const SGYField> SGYBinaryHeaderFields() {
    return kBinaryFields;
}
std::span<const SGYField> SGYTraceHeaderFields() {
    return kTraceFields;
}

qint64 SGYFieldValue(const SGYBinaryHeader& header, const SGYField& field) {
    return ValueAt(header, field);
}
qint64 SGYFieldValue(const SGYTraceHeader& header, const SGYField& field) {
    return ValueAt(header, field);
}
void SetSGYFieldValue(SGYBinaryHeader& header, const SGYField& field, qint64 value) {
    SetValueAt(header, field, value);
}
void SetSGYFieldValue(SGYTraceHeader& header, const SGYField& field, qint64 value) {
    SetValueAt(header, field, value);
}

std::array<quint8, kSGYBinaryHeaderSize> EncodeSGYBinaryHeader(const SGYBinaryHeader& header,
                                                               bool littleEndian) {
    return Encode<SGYBinaryHeader, kSGYBinaryHeaderSize>(header, kBinaryFields, littleEndian);
}

std::array<quint8, kSGYTraceHeaderSize> EncodeSGYTraceHeader(const SGYTraceHeader& header,
                                                             bool littleEndian) {
    return Encode<SGYTraceHeader, kSGYTraceHeaderSize>(header, kTraceFields, littleEndian);
}

void DecodeSGYBinaryHeader(std::span<const quint8, kSGYBinaryHeaderSize> bytes, bool littleEndian,
                           SGYBinaryHeader& header) {
    Decode(bytes.data(), kBinaryFields, littleEndian, header);
}

void DecodeSGYTraceHeader(std::span<const quint8, kSGYTraceHeaderSize> bytes, bool littleEndian,
                          SGYTraceHeader& header) {
    Decode(bytes.data(), kTraceFields, littleEndian, header);
}

std::vector<SGYHeaderRow> SGYBinaryHeaderRows(const SGYBinaryHeader& header) {
    return Rows(header, kBinaryFields);
}
std::vector<SGYHeaderRow> SGYTraceHeaderRows(const SGYTraceHeader& header) {
    return Rows(header, kTraceFields);
}

} // namespace zarno
