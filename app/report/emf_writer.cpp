#include "app/report/emf_writer.h"

#include "app/report/painter_report_sink.h"

#include <QFontMetricsF>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace zarno {

namespace {

// Record types and values of the metafile format.
enum : quint32 {
    kEmrHeader = 1,
    kEmrEof = 14,
    kEmrSetMapMode = 17,
    kEmrSetBkMode = 18,
    kEmrSetTextAlign = 22,
    kEmrSetTextColor = 24,
    kEmrSelectObject = 37,
    kEmrCreateBrushIndirect = 39,
    kEmrDeleteObject = 40,
    kEmrRectangle = 43,
    kEmrStretchDIBits = 81,
    kEmrExtCreateFontIndirectW = 82,
    kEmrExtTextOutW = 84,
};
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr quint32 kEmfVersion = 0x00010000;
constexpr quint32 kMapModeText = 1;           // MM_TEXT: logical units are device pixels
constexpr quint32 kBkTransparent = 1;
constexpr quint32 kTextAlignTopLeft = 0;
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kStockNullPen = 0x80000008;
constexpr quint32 kGraphicsModeCompatible = 1;
constexpr quint32 kSrcCopy = 0x00CC0020;
constexpr quint32 kHeaderSize = 108; // with the OpenGL and micrometre extensions
constexpr quint8 kCyrillicCharset = 204;
constexpr quint8 kOutTrueTypePrecision = 4;
constexpr quint8 kQuality = 4;
constexpr quint8 kModernFamily = 0x30;
const QString kDescription = QStringLiteral("Zarno");

class Record {
public:
    explicit Record(quint32 type) {
        U32(type);
        U32(0); // size, set by Done()
    }
    Record& U32(quint32 v) { return Bytes(&v, 4); }
    Record& I32(qint32 v) { return Bytes(&v, 4); }
    Record& U16(quint16 v) { return Bytes(&v, 2); }
    Record& U8(quint8 v) { return Bytes(&v, 1); }
    Record& F32(float v) { return Bytes(&v, 4); }
    Record& Rect(qint32 l, qint32 t, qint32 r, qint32 b) { return I32(l).I32(t).I32(r).I32(b); }
    Record& Utf16(const QString& s) { return Bytes(s.utf16(), static_cast<std::size_t>(s.size()) * 2); }
    Record& Raw(const QByteArray& b) {
        m_data += b;
        return *this;
    }
    Record& Pad() {
        while (m_data.size() % 4 != 0)
            m_data += '\0';
        return *this;
    }
    qsizetype Size() const { return m_data.size(); }
    QByteArray Done() {
        Pad();
        const auto size = static_cast<quint32>(m_data.size());
        std::memcpy(m_data.data() + 4, &size, 4);
        return m_data;
    }

private:
    // The metafile is little-endian, as is every machine Zarno runs on.
    Record& Bytes(const void* p, std::size_t n) {
        m_data.append(static_cast<const char*>(p), static_cast<qsizetype>(n));
        return *this;
    }
    QByteArray m_data;
};
static_assert(std::endian::native == std::endian::little);

QByteArray OneValue(quint32 type, quint32 value) {
    return Record(type).U32(value).Done();
}

// 24-bit rows, bottom-up, each padded to 4 bytes.
QByteArray DibBits(const QImage& picture) {
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    const qsizetype row = (static_cast<qsizetype>(bgr.width()) * 3 + 3) / 4 * 4;
    QByteArray bits(row * bgr.height(), '\0');
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bits.data() + row * (bgr.height() - 1 - y), bgr.constScanLine(y),
                    static_cast<std::size_t>(bgr.width()) * 3);
    return bits;
}

// Pixels per metre of the picture's section: half the device's resolution.
qint32 PixelsPerMetre(int dpi) {
    return static_cast<qint32>(dpi * 0.5 / 0.0254);
}

} // namespace

EmfReportWriter::EmfReportWriter(const PageMetrics& page, QSize paperTenthsMm) : m_page(page), m_paper(paperTenthsMm) {
    Append(OneValue(kEmrSetMapMode, kMapModeText));
    Append(OneValue(kEmrSetBkMode, kBkTransparent));
    Append(OneValue(kEmrSetTextAlign, kTextAlignTopLeft));
    Append(OneValue(kEmrSetTextColor, 0));
}

void EmfReportWriter::Append(const QByteArray& record) {
    m_body += record;
    ++m_records;
}

void EmfReportWriter::FillWhite(const QRect& area) {
    const quint32 brush = NewHandle();
    Append(Record(kEmrCreateBrushIndirect).U32(brush).U32(0).U32(kWhite).U32(0).Done());
    Append(OneValue(kEmrSelectObject, brush));
    Append(OneValue(kEmrSelectObject, kStockNullPen));
    // Without a pen the rectangle leaves out its right and bottom edges.
    Append(Record(kEmrRectangle).Rect(area.left(), area.top(), area.right() + 2, area.bottom() + 2).Done());
}

void EmfReportWriter::DrawPicture(const QRect& target, const QImage& picture) {
    const QByteArray bits = DibBits(picture);
    constexpr quint32 kFixedPart = 80, kInfoSize = 40;
    Record r(kEmrStretchDIBits);
    r.Rect(target.left(), target.top(), target.right(), target.bottom());
    r.I32(target.left()).I32(target.top()).I32(0).I32(0).I32(picture.width()).I32(picture.height());
    r.U32(kFixedPart).U32(kInfoSize).U32(kFixedPart + kInfoSize).U32(static_cast<quint32>(bits.size()));
    r.U32(0).U32(kSrcCopy).I32(target.width()).I32(target.height());
    // BITMAPINFOHEADER: uncompressed, one plane, 24 bits.
    r.U32(kInfoSize).I32(picture.width()).I32(picture.height()).U16(1).U16(24).U32(0);
    r.U32(static_cast<quint32>(bits.size())).I32(PixelsPerMetre(m_page.dpiX)).I32(PixelsPerMetre(m_page.dpiY));
    r.U32(0).U32(0);
    r.Raw(bits);
    Append(r.Done());
}

void EmfReportWriter::SelectFont(const ReportFont& font) {
    quint32& handle = m_fontHandles[font.kind == ReportFontKind::Heading ? 0 : 1];
    if (handle == 0) {
        handle = NewHandle();
        Record r(kEmrExtCreateFontIndirectW);
        r.U32(handle).I32(font.height).I32(0).I32(0).I32(0).I32(font.weight);
        r.U8(0).U8(0).U8(0).U8(kCyrillicCharset).U8(kOutTrueTypePrecision).U8(0).U8(kQuality).U8(kModernFamily);
        const QString face = font.face.left(31);
        r.Utf16(face);
        for (qsizetype i = face.size(); i < 32; ++i)
            r.U16(0);
        Append(r.Done());
    }
    Append(OneValue(kEmrSelectObject, handle));
    m_font = font;
}

void EmfReportWriter::DrawText(QPoint topLeft, const QString& text) {
    // The advances of the installed metric twin: a reader lays the text out exactly as printed.
    const QFontMetricsF metrics(QFontOfReport(m_font));
    std::vector<qint32> dx;
    double previous = 0.0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const double end = std::round(metrics.horizontalAdvance(text.left(i)));
        dx.push_back(static_cast<qint32>(end - previous));
        previous = end;
    }
    const auto width = static_cast<qint32>(previous);
    const auto height = static_cast<qint32>(std::ceil(metrics.height()));
    const float unitsPerPixel = m_page.dpiX > 0 ? 2540.0f / static_cast<float>(m_page.dpiX) : 1.0f;
    constexpr quint32 kTextFixedPart = 76;
    const auto stringBytes = static_cast<quint32>((text.size() * 2 + 3) / 4 * 4);
    Record r(kEmrExtTextOutW);
    r.Rect(topLeft.x(), topLeft.y(), topLeft.x() + width, topLeft.y() + height);
    r.U32(kGraphicsModeCompatible).F32(unitsPerPixel).F32(unitsPerPixel);
    r.I32(topLeft.x()).I32(topLeft.y()).U32(static_cast<quint32>(text.size())).U32(kTextFixedPart).U32(0);
    r.Rect(0, 0, -1, -1).U32(kTextFixedPart + stringBytes);
    r.Utf16(text).Pad();
    for (const qint32 d : dx)
        r.I32(d);
    Append(r.Done());
}

QByteArray EmfReportWriter::Finish() const {
    QByteArray tail;
    quint32 records = m_records;
    for (quint32 handle = 1; handle < m_nextHandle; ++handle, ++records)
        tail += OneValue(kEmrDeleteObject, handle);
    tail += Record(kEmrEof).U32(0).U32(16).U32(20).Done();
    ++records;

    const QString description = kDescription + QChar(0) + QChar(0);
    const auto descriptionBytes = static_cast<quint32>((description.size() * 2 + 3) / 4 * 4);
    const quint32 headerSize = kHeaderSize + descriptionBytes;
    const auto total = static_cast<quint32>(headerSize + m_body.size() + tail.size());
    const int mmWidth = m_page.dpiX > 0 ? static_cast<int>(std::lround(m_page.horzRes * 25.4 / m_page.dpiX)) : 0;
    const int mmHeight = m_page.dpiY > 0 ? static_cast<int>(std::lround(m_page.vertRes * 25.4 / m_page.dpiY)) : 0;
    Record h(kEmrHeader);
    h.Rect(0, 0, m_page.horzRes - 1, m_page.vertRes - 1);
    h.Rect(0, 0, m_paper.width() * 10, m_paper.height() * 10);
    h.U32(kEmfSignature).U32(kEmfVersion).U32(total).U32(records + 1);
    h.U16(static_cast<quint16>(m_nextHandle)).U16(0);
    h.U32(static_cast<quint32>(description.size())).U32(kHeaderSize).U32(0);
    h.I32(m_page.horzRes).I32(m_page.vertRes).I32(mmWidth).I32(mmHeight);
    h.U32(0).U32(0).U32(0);
    h.I32(mmWidth * 1000).I32(mmHeight * 1000);
    h.Utf16(description);
    return h.Done() + m_body + tail;
}

} // namespace zarno
