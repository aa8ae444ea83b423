#include "app/formats/sgy_headers.h"

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
    I32(0, "Идентификационный номер работы"),
    I32(4, "Номер профиля"),
    I32(8, "Номер ленты"),
    U16(12, "Число трасс в магнитограмме"),
    U16(14, "Число дополнительных трасс в магнитограмме"),
    U16(16, "Шаг дискретизации в мкс на ленте"),
    U16(18, "Шаг дискретизации в мкс на полевой ленте"),
    U16(20, "Длина трассы в дискретах на ленте"),
    U16(22, "Длина трассы в дискретах на полевой ленте"),
    U16(24, "Код формата данных в трассе"),
    U16(26, "Кратность ОГТ"),
    U16(28, "Код сортировки трасс"),
    U16(30, nullptr),
    U16(54, nullptr),
    U16(56, nullptr),
    I32(68, nullptr),
    U16(300, nullptr),
    U16(302, nullptr),
    U16(304, nullptr),
};

constexpr SGYField kTraceFields[] = {
    I32(0, "ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ ПО ВСЕМ ЛЕНТАМ"),
    I32(4, "ПОСЛЕДОВАТЕЛЬНЫЙ НОМЕР ТРАССЫ НА ЛЕНТЕ"),
    I32(8, "ФИЗИЧЕСКИЙ НОМЕР ПОЛЕВОЙ МАГНИТОГРАММЫ (МГ)"),
    I32(12, "НОМЕР ТРАССЫ В ПОЛЕВОЙ МГ"),
    I32(16, "НОМЕР ПВ"),
    I32(20, "НОМЕР ВЫБОРКИ ОГТ"),
    I32(24, "НОМЕР ТРАССЫ В ВЫБОРКЕ ОГТ"),
    U16(28, "КОД ТРАССЫ"),
    U16(30, "ЧИСЛО НАКАПЛИВАНИЙ"),
    U16(32, "КРАТНОСТЬ СУММИРОВАНИЯ"),
    U16(34, "ХАРАКТЕР ДАННЫХ"),
    I32(36, "РАССТОЯНИЕ МЕЖДУ ПВ И ЦЕНТРОМ ГРУППЫ"),
    I32(40, "АЛЬТИТУДА ЦЕНТРА ГРУППЫ"),
    I32(44, "АЛЬТИТУДА ПВ"),
    I32(48, "ГЛУБИНА ВЗРЫВА ОТ ПОВЕРХНОСТИ"),
    I32(52, "РЕЛЬЕФ В ПП"),
    I32(56, "РЕЛЬЕФ В ПВ"),
    I32(60, "УГВ ПВ"),
    I32(64, "УГВ ПП"),
    // Both scalars carry the same label in the viewer.
    U16(68, "МАСШТАБНЫЙ КОЭФФИЦИЕНТ ДЛЯ ЗНАЧЕНИЙ"),
    U16(70, "МАСШТАБНЫЙ КОЭФФИЦИЕНТ ДЛЯ ЗНАЧЕНИЙ"),
    I32(72, "КООРДИНАТА X ПВ"),
    I32(76, "КООРДИНАТА Y ПВ"),
    I32(80, "КООРДИНАТА X ПП"),
    I32(84, "КООРДИНАТА Y ПП"),
    U16(88, "РАЗМЕРНОСТЬ КООРДИНАТ"),
    U16(90, "СКОРОСТЬ В ЗМС"),
    U16(92, "СКОРОСТЬ В КОРЕННЫХ ПОРОДАХ"),
    U16(94, "ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПВ"),
    U16(96, "ВЕРТИКАЛЬНОЕ ВРЕМЯ В ПП"),
    U16(98, "СТАТИЧЕСКАЯ ПОПРАВКА В ПВ"),
    U16(100, "СТАТИЧЕСКАЯ ПОПРАВКА В ПП"),
    U16(102, "СУММАРНАЯ СТАТИКА"),
    U16(104, "ВРЕМЯ ЗАДЕРЖКИ A"),
    U16(106, "ВРЕМЯ ЗАДЕРЖКИ B"),
    U16(108, "ЗАДЕРЖКА НАЧАЛА ЗАПИСИ ОТНОСИТЕЛЬНО НАЧАЛА Tвз"),
    U16(110, "НАЧАЛО МЬЮТИНГА"),
    U16(112, "КОНЕЦ МЬЮТИНГА"),
    U16(114, "ЧИСЛО ОТСЧЕТОВ В ТРАССЕ"),
    U16(116, "ШАГ ДИСКРЕТИЗАЦИИ В mks"),
    U16(118, "ФОРМАТ ПОЛЕВОЙ ЗАПИСИ"),
    U16(120, "ПОСТОЯННОЕ АППАРАТНОЕ УСИЛЕНИЕ"),
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
            rows.push_back({f.offset, QString::fromUtf8(f.label), ValueAt(record, f)});
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
